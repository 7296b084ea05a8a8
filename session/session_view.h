// What a front end shows of one session: everything the main window draws, as values.
#pragma once

#include "session/image_facts.h"

#include <cstdint>
#include <string>

enum class ConnectionOutcome {
    NoUnit,
    UnitWrongMode,
    NoUpdatableEsc,
    EscIncompatible,
    ReadyToUpdate,
    Updated // written: the unit must be plugged in again before another update
};

// Who the open unit and the controller behind it are, as identification read them: kept
// for the station record, not interpreted. All zero where a branch of the identification
// did not reach.
struct UnitIdentity {
    std::uint32_t identityWord = 0;
    std::uint8_t bootIdentity[12] = {}; // GET_INFO's bytes 4 to 15, from the unit's own bootloader
    std::uint8_t controllerInfo[32] = {};
    std::uint8_t bootInfo[40] = {};
};

struct SessionView {
    std::wstring title;
    // The rows' names: the unit's is its product (DOCKPAD, DOCK-BOX) once one was seen.
    std::wstring unitLabel, bootloaderLabel, escLabel;
    // The template's placeholders until the first connection attempt.
    std::wstring unitVersion = L"0.00.00", bootloaderVersion = L"0.00.00", escVersion = L"0.00.00";
    bool versionsEnabled = true; // greyed while no unit is open
    ConnectionOutcome outcome = ConnectionOutcome::NoUnit;
    std::wstring hint; // lines broken with "\r\n"
    bool updateEnabled = false;
    // From the first confirmation's acceptance until the update has ended: leaving, Close
    // and interrupts are refused, and nothing may start another session on the unit.
    bool updateRunning = false;
    std::wstring device; // the open unit's path; empty while none is open
    std::wstring port;   // its USB socket's name; empty while none is open or none is told
    UnitIdentity identity; // the open unit's; the last one's while none is open
    // The image this program carries, as checked when the session began; while it is
    // damaged Update is never offered and the hint says so.
    ImageFacts image;
};

// What the progress window shows: the bar's percentage, the blocks written of all, and a
// rounded-up estimate of the seconds left; all zero as the window opens, before the first
// block. A front end shows what it can.
struct ProgressState {
    std::uint32_t percent;
    std::uint32_t blocksWritten;
    std::uint32_t blocksTotal;
    std::uint32_t secondsLeft;
};
