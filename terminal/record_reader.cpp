#include "terminal/record_reader.h"

#include "session/text_encoding.h"

#include <cstddef>

namespace {

struct Cursor {
    const std::string& s;
    std::size_t at = 0;
    void blanks() {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\t' || s[at] == '\r'))
            ++at;
    }
    bool take(char c) {
        blanks();
        if (at < s.size() && s[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
};

bool hexDigits(Cursor& c, std::uint32_t& value) {
    if (c.at + 4 > c.s.size())
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const char h = c.s[c.at++];
        value <<= 4;
        if (h >= '0' && h <= '9')
            value |= static_cast<std::uint32_t>(h - '0');
        else if (h >= 'a' && h <= 'f')
            value |= static_cast<std::uint32_t>(h - 'a' + 10);
        else if (h >= 'A' && h <= 'F')
            value |= static_cast<std::uint32_t>(h - 'A' + 10);
        else
            return false;
    }
    return true;
}

bool readString(Cursor& c, std::string& out) {
    if (!c.take('"'))
        return false;
    out.clear();
    while (c.at < c.s.size()) {
        const char ch = c.s[c.at++];
        if (ch == '"')
            return true;
        if (static_cast<unsigned char>(ch) < 0x20)
            return false;
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (c.at >= c.s.size())
            return false;
        const char e = c.s[c.at++];
        switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            std::uint32_t code = 0;
            if (!hexDigits(c, code))
                return false;
            // A pair of surrogates is one character; a lone one is none.
            if (code >= 0xD800 && code < 0xDC00) {
                std::uint32_t low = 0;
                if (c.at + 1 >= c.s.size() || c.s[c.at] != '\\' || c.s[c.at + 1] != 'u')
                    return false;
                c.at += 2;
                if (!hexDigits(c, low) || low < 0xDC00 || low >= 0xE000)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else if (code >= 0xDC00 && code < 0xE000) {
                return false;
            }
            appendUtf8(out, code);
            break;
        }
        default:
            return false;
        }
    }
    return false; // cut off
}

bool readValue(Cursor& c, RecordValue& value) {
    c.blanks();
    if (c.at >= c.s.size())
        return false;
    const char first = c.s[c.at];
    if (first == '"') {
        value.kind = RecordValue::Text;
        return readString(c, value.text);
    }
    for (const char* word : {"true", "false", "null"}) {
        const std::string w = word;
        if (c.s.compare(c.at, w.size(), w) == 0) {
            c.at += w.size();
            value.kind = w == "null" ? RecordValue::Null : RecordValue::Flag;
            value.flag = w == "true";
            return true;
        }
    }
    const std::size_t from = c.at;
    if (c.s[c.at] == '-')
        ++c.at;
    while (c.at < c.s.size() && ((c.s[c.at] >= '0' && c.s[c.at] <= '9') || c.s[c.at] == '.' ||
                                 c.s[c.at] == 'e' || c.s[c.at] == 'E' || c.s[c.at] == '+' ||
                                 c.s[c.at] == '-'))
        ++c.at;
    value.kind = RecordValue::Number;
    value.text = c.s.substr(from, c.at - from);
    return c.at > from && value.text != "-";
}

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

} // namespace

bool readRecordLine(const std::string& line, std::map<std::string, RecordValue>& fields) {
    fields.clear();
    Cursor c{line};
    if (!c.take('{'))
        return false;
    if (!c.take('}')) {
        do {
            std::string name;
            RecordValue value;
            c.blanks();
            if (!readString(c, name) || !c.take(':') || !readValue(c, value))
                return false;
            fields[name] = value;
        } while (c.take(','));
        if (!c.take('}'))
            return false;
    }
    c.blanks();
    return c.at == line.size();
}

bool parseUtcTimestamp(const std::string& t, std::int64_t& ms) {
    // 2026-12-09T06:25:01.123Z
    static const char shape[] = "dddd-dd-ddTdd:dd:dd.dddZ";
    if (t.size() != sizeof shape - 1)
        return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (shape[i] == 'd' ? (t[i] < '0' || t[i] > '9') : t[i] != shape[i])
            return false;
    auto n = [&](std::size_t from, std::size_t count) {
        return static_cast<unsigned>(std::stoul(t.substr(from, count)));
    };
    const unsigned month = n(5, 2), day = n(8, 2), hour = n(11, 2), minute = n(14, 2),
                   second = n(17, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return false;
    ms = daysFromCivil(n(0, 4), month, day) * 86400000 +
         static_cast<std::int64_t>(hour * 3600 + minute * 60 + second) * 1000 + n(20, 3);
    return true;
}
