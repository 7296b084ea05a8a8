// The terminal edition's command line, and which flag answers which question.
#include "terminal/options.h"

#include "platform/platform.h"
#include "session/presentation.h"

#include "resources/resource_ids.h"
#include "terminal/shown_text.h"

#include <cstdlib>

namespace {

// At most nine digits: every count and wait fits any platform's long, and a wait in
// microseconds a 64-bit clock.
template <typename Number> bool number(const std::wstring& text, Number& value) {
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos ||
        text.size() > kLargestNumberDigits)
        return false;
    value = static_cast<Number>(std::wcstoll(text.c_str(), nullptr, 10));
    return true;
}

std::wstring said(Language language, unsigned text, const std::wstring& subject = {}) {
    return formatText(loadText(language, text), {shownSafely(subject)});
}

} // namespace

bool parseTerminalArguments(const std::vector<std::wstring>& args, Language language,
                            TerminalOptions& options, std::wstring& problem) {
    options = TerminalOptions{};
    bool commandGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const std::size_t equals = arg.find(L'=');
        const std::wstring name = arg.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const std::wstring value = hasValue ? arg.substr(equals + 1) : std::wstring();
        if (arg.rfind(L"--", 0) != 0 && arg != L"-y" && arg != L"-q" && arg != L"-h") {
            // report --log FILE…: a shell's list of records.
            if (options.command == TerminalCommand::Report && !options.logs.empty()) {
                options.logs.push_back(arg);
                continue;
            }
            if (commandGiven) {
                problem = said(language, IDS_CLI_UNEXPECTED_ARGUMENT, arg);
                return false;
            }
            commandGiven = true;
            if (arg == L"status")
                options.command = TerminalCommand::Status;
            else if (arg == L"list")
                options.command = TerminalCommand::List;
            else if (arg == L"update")
                options.command = TerminalCommand::Update;
            else if (arg == L"report")
                options.command = TerminalCommand::Report;
            else {
                problem = said(language, IDS_CLI_UNKNOWN_COMMAND, arg);
                return false;
            }
            continue;
        }
        const bool flag = !hasValue;
        // An unset variable in a script gives an empty value: never "the first unit" or
        // "no record".
        if (hasValue && value.empty() && arg.rfind(L"--", 0) == 0) {
            problem = said(language, IDS_CLI_EMPTY_VALUE, name);
            return false;
        }
        if ((arg == L"--yes" || arg == L"-y"))
            options.yes = true;
        else if (arg == L"--force")
            options.force = true;
        else if (arg == L"--json")
            options.json = true;
        else if (arg == L"--quiet" || arg == L"-q")
            options.quiet = true;
        else if (arg == L"--each")
            options.each = true;
        else if (arg == L"--all")
            options.all = options.parallel = true;
        else if (name == L"--parallel" && flag)
            options.parallel = true;
        else if (name == L"--parallel" && number(value, options.parallelLimit) &&
                 options.parallelLimit > 0)
            options.parallel = true;
        else if (arg == L"--help" || arg == L"-h")
            options.help = true;
        else if (arg == L"--version")
            options.version = true;
        else if (name == L"--wait" && flag)
            options.wait = true;
        else if (name == L"--wait" && number(value, options.waitSeconds))
            options.wait = true;
        else if (name == L"--device" || name == L"--count" || name == L"--port" ||
                 name == L"--log" || name == L"--trace" || name == L"--station") {
            std::wstring given = value;
            if (flag) {
                if (i + 1 >= args.size()) {
                    problem = said(language, IDS_CLI_NEEDS_VALUE, name);
                    return false;
                }
                given = args[++i];
                if (given.empty()) {
                    problem = said(language, IDS_CLI_EMPTY_VALUE, name);
                    return false;
                }
            }
            if (name == L"--device") {
                options.device = given;
            } else if (name == L"--log") {
                options.log = given;
                options.logs.push_back(given);
            } else if (name == L"--station") {
                options.station = given;
            } else if (name == L"--trace") {
                options.trace = given;
            } else if (name == L"--port") {
                if (!platformIsPortName(given)) {
                    problem = said(language, IDS_CLI_NOT_A_PORT, given);
                    return false;
                }
                options.ports.push_back(given);
            } else if (!number(given, options.count) || options.count == 0) {
                problem = said(language, IDS_CLI_COUNT_NEEDS_NUMBER);
                return false;
            }
        } else {
            problem = said(language, IDS_CLI_UNKNOWN_OPTION, arg);
            return false;
        }
    }
    if (options.each && options.command != TerminalCommand::Update) {
        problem = said(language, IDS_CLI_EACH_WITH_UPDATE);
        return false;
    }
    if (options.count != 0 && !options.each) {
        problem = said(language, IDS_CLI_COUNT_WITH_EACH);
        return false;
    }
    if (options.parallel && !options.each && !options.all) {
        problem = said(language, IDS_CLI_PARALLEL_WITH_EACH);
        return false;
    }
    if (options.all && (options.each || options.command != TerminalCommand::Update)) {
        problem = said(language, IDS_CLI_ALL_WITH_UPDATE);
        return false;
    }
    if (options.command == TerminalCommand::Report && options.logs.empty()) {
        problem = said(language, IDS_CLI_NEEDS_VALUE, L"--log");
        return false;
    }
    if (options.command != TerminalCommand::Report && options.logs.size() > 1) {
        problem = said(language, IDS_CLI_ONE_LOG);
        return false;
    }
    if ((options.each || options.all) && !options.device.empty()) {
        problem = said(language, IDS_CLI_EACH_TAKES_EVERY);
        return false;
    }
    return true;
}

bool isYes(std::string answer, Language language) {
    for (char& c : answer)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' '))
        answer.pop_back();
    return answer == "y" || answer == "yes" ||
           (language == Language::German && (answer == "j" || answer == "ja"));
}

// The first confirmation is the routine question, the same-or-newer one the risky one:
// consent to one never implies the other. The risky one is never read from a pipe: a
// script's "yes |" must not write a controller that is already current, so only --force
// or a person at a terminal says yes to it. The other boxes are results or reasons, shown.
BoxAnswer boxAnswer(BoxId box, const TerminalOptions& o, bool personAtTerminal) {
    switch (box) {
    case BoxId::ConfirmUpdate:
        return o.yes ? BoxAnswer::Yes : BoxAnswer::Prompt;
    case BoxId::ConfirmSameOrNewer:
        if (o.force)
            return BoxAnswer::Yes;
        return personAtTerminal ? BoxAnswer::Prompt : BoxAnswer::No;
    case BoxId::Incompatible:
    case BoxId::UpdateFailed:
    case BoxId::HotPlugUnavailable:
    case BoxId::ControllerChanged:
        break;
    }
    return BoxAnswer::Show;
}
