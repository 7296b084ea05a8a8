// When a progress line is due.
#include "terminal/terminal.h"

bool tenPercentStep(std::uint32_t& lastTenth, std::uint32_t percent) {
    if (percent / 10 == lastTenth)
        return false;
    lastTenth = percent / 10;
    return true;
}

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
