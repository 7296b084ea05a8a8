// The terminal edition's command line, and which flag answers which question.
#include "session/terminal.h"

#include <cstdlib>

namespace {

bool number(const std::string& text, long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9)
        return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

std::wstring widen(const std::string& text) {
    // Device paths and node names are plain ASCII; anything else is taken byte for byte.
    std::wstring out;
    for (unsigned char c : text)
        out.push_back(static_cast<wchar_t>(c));
    return out;
}

} // namespace

bool parseTerminalArguments(const std::vector<std::string>& args, TerminalOptions& options,
                            std::string& problem) {
    options = TerminalOptions{};
    bool commandGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const std::string value = hasValue ? arg.substr(equals + 1) : std::string();
        if (arg.rfind("--", 0) != 0 && arg != "-y" && arg != "-q" && arg != "-h") {
            if (commandGiven) {
                problem = "unexpected argument '" + arg + "'";
                return false;
            }
            commandGiven = true;
            if (arg == "status")
                options.command = TerminalCommand::Status;
            else if (arg == "list")
                options.command = TerminalCommand::List;
            else if (arg == "update")
                options.command = TerminalCommand::Update;
            else {
                problem = "unknown command '" + arg + "'";
                return false;
            }
            continue;
        }
        const bool flag = !hasValue;
        if ((arg == "--yes" || arg == "-y"))
            options.yes = true;
        else if (arg == "--force")
            options.force = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--quiet" || arg == "-q")
            options.quiet = true;
        else if (arg == "--each")
            options.each = true;
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (name == "--wait" && flag)
            options.wait = true;
        else if (name == "--wait" && number(value, options.waitSeconds))
            options.wait = true;
        else if (name == "--device" || name == "--count") {
            std::string given = value;
            if (flag) {
                if (i + 1 >= args.size()) {
                    problem = "option '" + name + "' needs a value";
                    return false;
                }
                given = args[++i];
            }
            if (name == "--device") {
                options.device = widen(given);
            } else if (!number(given, options.count) || options.count == 0) {
                problem = "option '--count' needs a whole number above 0";
                return false;
            }
        } else {
            problem = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (options.each && options.command != TerminalCommand::Update) {
        problem = "'--each' goes with 'update'";
        return false;
    }
    if (options.count != 0 && !options.each) {
        problem = "'--count' goes with '--each'";
        return false;
    }
    if (options.each && !options.device.empty()) {
        problem = "'--each' takes every unit: leave out '--device'";
        return false;
    }
    return true;
}

// The first confirmation is the routine question, the same-or-newer one the risky one:
// consent to one never implies the other. A production line skips a controller that is
// already current unless forced. OK boxes are results or reasons, shown.
BoxAnswer boxAnswer(MessageButtons buttons) {
    const TerminalOptions& o = terminal.options;
    switch (buttons) {
    case MessageButtons::OkCancel:
        return o.yes ? BoxAnswer::Yes : BoxAnswer::Prompt;
    case MessageButtons::YesNo:
        if (o.force)
            return BoxAnswer::Yes;
        return o.each ? BoxAnswer::No : BoxAnswer::Prompt;
    case MessageButtons::Ok:
        break;
    }
    return BoxAnswer::Show;
}
