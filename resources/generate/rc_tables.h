// The texts and the main dialog's template, read from the resource scripts and written as
// C++ tables, so that a window without the Windows resource lookup shows the very same
// texts: no text is typed twice.
#pragma once

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

struct RcControl {
    std::string text, id, kind, style, exStyle;
    int x, y, width, height;
};

struct RcDialog {
    std::string caption;
    int width = 0, height = 0;
    std::vector<RcControl> controls;
};

inline std::vector<std::string> rcLines(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// #define NAME NUMBER
inline std::map<std::string, int> rcIds(const std::string& path) {
    static const std::regex define(R"(^#define\s+(\w+)\s+(-?\d+))");
    std::map<std::string, int> ids{{"-1", -1}};
    std::smatch m;
    for (const std::string& line : rcLines(path))
        if (std::regex_search(line, m, define))
            ids[m[1]] = std::stoi(m[2]);
    return ids;
}

// IDS_NAME "text" inside a STRINGTABLE's BEGIN and END. Any other line there but a blank
// or a comment is refused: a text the Windows build would carry must never be left out
// of the others without a word.
inline std::map<std::string, std::string> rcStrings(const std::string& path) {
    static const std::regex entry(R"rx(^\s+(IDS_\w+)\s+"((?:[^"]|"")*)"\s*$)rx");
    static const std::regex ignorable(R"(^\s*(//.*)?$)");
    std::map<std::string, std::string> texts;
    std::smatch m;
    bool inTable = false, inBlock = false;
    int number = 0;
    for (const std::string& line : rcLines(path)) {
        ++number;
        if (line.rfind("STRINGTABLE", 0) == 0) {
            inTable = true;
        } else if (inTable && !inBlock && line.rfind("BEGIN", 0) == 0) {
            inBlock = true;
        } else if (inBlock && line.rfind("END", 0) == 0) {
            inTable = inBlock = false;
        } else if (inBlock && std::regex_match(line, m, entry)) {
            if (!texts.emplace(m[1], m[2]).second)
                throw std::runtime_error(path + ":" + std::to_string(number) + ": " + m[1].str() +
                                         " twice");
        } else if (inBlock && !std::regex_match(line, ignorable)) {
            throw std::runtime_error(path + ":" + std::to_string(number) +
                                     ": not a text of the string table: " + line);
        }
    }
    if (inBlock)
        throw std::runtime_error(path + ": a string table without its END");
    return texts;
}

inline RcDialog rcDialog(const std::string& path) {
    static const std::regex size(R"(DIALOGEX\s+\d+,\s*\d+,\s*(\d+),\s*(\d+))");
    static const std::regex caption(R"rx(^CAPTION\s+"(.*)"\s*$)rx");
    static const std::regex control(
        R"rx(^\s+CONTROL\s+"(.*)",\s*(-?\w+),\s*"(\w+)",\s*([^,]+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)(?:,\s*(\w+))?\s*$)rx");
    RcDialog dialog;
    std::smatch m;
    for (const std::string& line : rcLines(path)) {
        if (std::regex_search(line, m, size)) {
            dialog.width = std::stoi(m[1]);
            dialog.height = std::stoi(m[2]);
        } else if (std::regex_match(line, m, caption)) {
            dialog.caption = m[1];
        } else if (std::regex_match(line, m, control)) {
            dialog.controls.push_back({m[1], m[2], m[3], m[4], m[9], std::stoi(m[5]),
                                       std::stoi(m[6]), std::stoi(m[7]), std::stoi(m[8])});
        }
    }
    return dialog;
}

// A resource script's string as the body of a C++ wide literal: the escapes are C's, and
// a doubled quote is a quote.
inline std::string wideLiteral(const std::string& rc) {
    std::string out = "L\"";
    for (std::size_t i = 0; i < rc.size(); ++i) {
        if (rc[i] == '"' && i + 1 < rc.size() && rc[i + 1] == '"') {
            out += "\\\"";
            ++i;
        } else {
            out += rc[i];
        }
    }
    return out + "\"";
}

inline bool hasFlag(const std::string& flags, const std::string& flag) {
    return std::regex_search(flags, std::regex("\\b" + flag + "\\b"));
}

inline std::string textTablesSource(const std::string& idsPath, const std::string& stringsEn,
                                    const std::string& stringsDe, const std::string& dialogEn,
                                    const std::string& dialogDe) {
    const auto ids = rcIds(idsPath);
    const auto en = rcStrings(stringsEn);
    const auto de = rcStrings(stringsDe);
    const RcDialog dEn = rcDialog(dialogEn);
    const RcDialog dDe = rcDialog(dialogDe);
    if (en.size() != de.size() || dEn.controls.size() != dDe.controls.size() || en.empty() ||
        dEn.controls.empty())
        throw std::runtime_error("the English and German resources differ in what they hold");

    std::ostringstream out;
    out << "// Generated from the resource scripts at build time.\n"
        << "#include \"resources/text_tables.h\"\n\n"
        << "const TextEntry kTextTable[] = {\n";
    for (const auto& [name, text] : en)
        if (de.count(name) == 0 || ids.count(name) == 0)
            throw std::runtime_error(name + " has no German text or no number");
    for (const auto& [name, text] : en)
        out << "    {" << ids.at(name) << ", " << wideLiteral(text) << ", "
            << wideLiteral(de.at(name)) << "},\n";
    out << "};\nconst std::size_t kTextTableSize = " << en.size() << ";\n\n"
        << "const DialogTemplate kMainDialog = {" << wideLiteral(dEn.caption) << ", "
        << wideLiteral(dDe.caption) << ", " << dEn.width << ", " << dEn.height << "};\n\n"
        << "const TemplateControl kDialogControls[] = {\n";
    for (std::size_t i = 0; i < dEn.controls.size(); ++i) {
        const RcControl& c = dEn.controls[i];
        out << "    {" << ids.at(c.id) << ", \"" << c.kind << "\", " << wideLiteral(c.text) << ", "
            << wideLiteral(dDe.controls[i].text) << ", " << c.x << ", " << c.y << ", " << c.width
            << ", " << c.height << ", " << hasFlag(c.style, "BS_DEFPUSHBUTTON") << ", "
            << hasFlag(c.style, "WS_DISABLED") << ", " << (c.exStyle == "WS_EX_RIGHT") << ", "
            << hasFlag(c.style, "BS_GROUPBOX") << "},\n";
    }
    out << "};\nconst std::size_t kDialogControlCount = " << dEn.controls.size() << ";\n";
    return out.str();
}
