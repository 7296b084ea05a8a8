#include "terminal/unit_wait.h"

#include "platform/platform.h"
#include "resources/resource_ids.h"

int connectReady(Session& session, ConsoleFrontEnd& frontEnd, const TerminalSetup& setup,
                 const TerminalOptions& options, const Voice& voice, bool oneOfSeveral,
                 bool& connected) {
    const std::int64_t deadline =
        options.waitSeconds < 0 ? -1 : platformMicroseconds() + options.waitSeconds * 1000000;
    bool firstRound = true;
    int lastStatus = kUnitReady;
    std::wstring lastHint, lastSeen;
    for (;; firstRound = false) {
        if (setup.interrupt->load())
            return kExitInterrupted;
        std::vector<ListedUnit> listed;
        listUnits(listed);
        const std::vector<ListedUnit> units = onChosenPorts(std::move(listed), options);
        std::wstring path;
        int status = kUnitReady;
        // Waiting, why not is said at the first look and whenever it changes.
        const bool speak = !options.wait || firstRound;
        connected = chooseUnit(units, options, oneOfSeveral, speak ? &voice : nullptr, path, status);
        if (!connected && options.wait && !firstRound && status != lastStatus)
            chooseUnit(units, options, oneOfSeveral, &voice, path, status);
        // As the window, a unit is asked again only when something was plugged in or out.
        const std::wstring seen = unitsSeen(units);
        const bool changed = firstRound || seen != lastSeen;
        lastSeen = seen;
        if (connected && !changed) {
            status = lastStatus;
        } else if (connected) {
            frontEnd.takeShown();
            session.connect(path);
            const ConnectionOutcome outcome = session.view().outcome;
            status = outcome == ConnectionOutcome::ReadyToUpdate ? kUnitReady
                                                                 : outcomeExitStatus(outcome);
            if (!options.wait || status == kUnitReady)
                return status;
            // Each other state once, as it is seen.
            const std::vector<Box> shown = frontEnd.takeShown();
            if (session.view().hint != lastHint) {
                lastHint = session.view().hint;
                for (const Box& box : shown)
                    voice.say(box.text);
                voice.say(lastHint);
            }
        } else if (!options.wait) {
            return status;
        }
        if (firstRound)
            voice.say(loadText(voice.language, IDS_CLI_WAITING_FOR));
        lastStatus = status;
        if (deadline >= 0 && platformMicroseconds() >= deadline)
            return kExitNoUnit;
        setup.idle();
    }
}
