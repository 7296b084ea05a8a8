// The unit identified again between the last confirmation and the lock. A controller can
// be swapped behind a unit that stays plugged in, with no device change to tell, while a
// confirmation waits for as long as the user likes; only what was on the screen when
// Update was pressed may be written.
#include "session/session.h"

#include "update/updater_profile.h"

bool Session::Identification::operator==(const Identification& other) const {
    return unitInBootloader == other.unitInBootloader && escState == other.escState &&
           typeCode == other.typeCode && bootloaderVersion == other.bootloaderVersion &&
           escVersion == other.escVersion && device == other.device && opening == other.opening;
}

Session::Identification Session::identification(const UnitConnection& unit) const {
    return {unit.unitInBootloader,     unit.escState,           escTypeCode(unit),
            escBootloaderVersion(unit), escFirmwareVersion(unit), unit.devicePath,
            openings_};
}

bool Session::stillWhatWasConfirmed(const Identification& decided) {
    // Removed during a confirmation: the lock fails at once, as it always has.
    if (!unitIsOpen(unit_))
        return true;
    // The same requests as at opening, into a record of their own on the same handle.
    UnitConnection again;
    again.handle = unit_.handle;
    again.devicePath = unit_.devicePath;
    again.productId = unit_.productId;
    again.trace = unit_.trace;
    const std::int32_t result = identifyUnit(again);
    if (result != kExchangeOk) {
        const std::uint32_t lastError = platformLastError();
        reportFailure(loadText(language_, IDS_FAIL_LOCK),
                      loadText(language_, IDS_UPDATE_FAILED_CAPTION), result, lastError);
        return false;
    }
    if (identification(again) == decided)
        return true;
    // What is connected now, shown as if it had just been plugged in, and why nothing
    // was written.
    lastEnd_ = UpdateEnd::Changed;
    view_.updateRunning = false;
    unit_ = again;
    showConnectionState(kExchangeOk);
    okBox(BoxId::ControllerChanged, loadText(language_, IDS_CONTROLLER_CHANGED),
          loadText(language_, IDS_CONTROLLER_CHANGED_CAPTION), MessageIcon::Warning);
    processHeld();
    return false;
}
