#include "terminal/exit_status.h"

int outcomeExitStatus(ConnectionOutcome outcome) {
    switch (outcome) {
    case ConnectionOutcome::NoUnit:
        return kExitNoUnit;
    case ConnectionOutcome::UnitWrongMode:
        return kExitWrongMode;
    case ConnectionOutcome::NoUpdatableEsc:
        return kExitNoUpdatableEsc;
    case ConnectionOutcome::EscIncompatible:
        return kExitIncompatible;
    case ConnectionOutcome::ReadyToUpdate:
    case ConnectionOutcome::Updated:
        break;
    }
    return kExitOk;
}

int resultExitStatus(UnitResult result) {
    switch (result) {
    case UnitResult::Updated:
        return kExitOk;
    case UnitResult::Failed:
        return kExitFailed;
    case UnitResult::Changed:
        return kExitChanged;
    case UnitResult::Skipped:
    case UnitResult::Declined:
        break;
    }
    return kExitDeclined;
}

int lineExitStatus(std::uint32_t failed, std::size_t finished, bool all, int ended) {
    if (failed > 0)
        return kExitFailed;
    if (all && finished == 0)
        return kExitNoUnit;
    return ended;
}
