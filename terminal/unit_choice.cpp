#include "terminal/unit_choice.h"

#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "session/presentation.h"
#include "terminal/exit_status.h"
#include "terminal/shown_text.h"

namespace {

// Why a listed unit cannot be opened, said and as its exit status.
int refused(const ListedUnit& unit, const Voice* voice) {
    if (unit.inUse) {
        if (voice)
            voice->complain(formatText(loadText(voice->language, IDS_CLI_IN_USE), {shownSafely(unit.path)}));
        return kExitInUse;
    }
    if (voice) {
        voice->complain(formatText(loadText(voice->language, IDS_CLI_NO_ACCESS), {shownSafely(unit.path)}));
        voice->complain(loadText(voice->language, IDS_CLI_NO_ACCESS_HOW));
    }
    return kExitNoAccess;
}

std::wstring listed(const ListedUnit& unit) {
    return L"  " + unitName(unit.path, unit.port) + L"  " + productLabel(unit.productId);
}

} // namespace

std::vector<ListedUnit> onChosenPorts(std::vector<ListedUnit> units, const TerminalOptions& options) {
    if (options.ports.empty())
        return units;
    std::vector<ListedUnit> chosen;
    for (ListedUnit& unit : units)
        for (const std::wstring& port : options.ports)
            if (unit.port == port) {
                chosen.push_back(std::move(unit));
                break;
            }
    return chosen;
}

std::wstring unitName(const std::wstring& path, const std::wstring& port) {
    return shownSafely(port.empty() ? path : port + L"  " + path);
}

std::wstring unitsSeen(const std::vector<ListedUnit>& units) {
    std::wstring seen;
    for (const ListedUnit& unit : units)
        seen += unit.path + L"#" + unit.instance + (unit.openable ? L"+" : unit.inUse ? L"=" : L"-") +
                L"\n";
    return seen;
}

bool chooseUnit(const std::vector<ListedUnit>& units, const TerminalOptions& options,
                bool oneOfSeveral, const Voice* voice, std::wstring& path, int& status) {
    path.clear();
    if (!options.device.empty()) {
        for (const ListedUnit& unit : units) {
            if (!platformSamePath(unit.path, options.device))
                continue;
            if (!unit.openable) {
                status = refused(unit, voice);
                return false;
            }
            path = unit.path;
            return true;
        }
        if (voice)
            voice->say(formatText(loadText(voice->language, IDS_CLI_NOT_IN_LIST), {shownSafely(options.device)}));
        status = kExitNoUnit;
        return false;
    }
    const ListedUnit* firstOpenable = nullptr;
    for (const ListedUnit& unit : units)
        if (unit.openable && firstOpenable == nullptr)
            firstOpenable = &unit;
    if (units.size() > 1 && !oneOfSeveral) {
        if (voice) {
            voice->complain(loadText(voice->language, IDS_CLI_CHOOSE_DEVICE));
            for (const ListedUnit& unit : units)
                voice->complain(listed(unit));
        }
        status = kExitSeveralUnits;
        return false;
    }
    if (firstOpenable == nullptr && !units.empty()) {
        status = refused(units[0], voice);
        return false;
    }
    if (units.size() > 1 && voice && options.command == TerminalCommand::Status) {
        voice->say(loadText(voice->language, IDS_CLI_OTHERS_PRESENT));
        for (const ListedUnit& unit : units)
            if (unit.path != firstOpenable->path)
                voice->say(listed(unit));
    }
    return true;
}
