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
