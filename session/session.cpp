// Start-up and close, the connection outcome and its hint, the version rows, and the
// device changes a session holds while a box or an update runs.
#include "session/session.h"

#include "update/updater_profile.h"

#include <cstring>

ConnectionOutcome connectionOutcome(const UnitConnection& unit, int openResult) {
    if (openResult != 0)
        return ConnectionOutcome::NoUnit;
    if (unit.unitInBootloader != 0)
        return ConnectionOutcome::UnitWrongMode;
    if (unit.escState != kEscStateUpdatable)
        return ConnectionOutcome::NoUpdatableEsc;
    if (!isAcceptedTypeCode(escTypeCode(unit)))
        return ConnectionOutcome::EscIncompatible;
    return ConnectionOutcome::ReadyToUpdate;
}

Session::Session(FrontEnd& frontEnd, Language language, UpdateWriter writer)
    : frontEnd_(frontEnd), language_(language), writer_(writer) {
    view_.image = embeddedImageFacts();
    label();
}

void Session::label() {
    view_.title = windowTitle();
    view_.unitLabel = loadText(language_, IDS_LABEL_UNIT);
    view_.bootloaderLabel = loadText(language_, IDS_LABEL_BOOTLOADER);
    view_.escLabel = loadText(language_, IDS_LABEL_ESC);
}

Session::~Session() {
    if (worker_.joinable())
        worker_.join();
    closeUnit(unit_);
}

void Session::show() {
    if (view_.device != unit_.devicePath) {
        view_.device = unit_.devicePath;
        view_.port = view_.device.empty() ? std::wstring() : platformPortOf(view_.device);
    }
    // A failed update closes the ready unit; the production line releases an updated one.
    const bool leftOpen =
        shown_ == ConnectionOutcome::ReadyToUpdate || shown_ == ConnectionOutcome::Updated;
    view_.outcome = leftOpen && !unitIsOpen(unit_) ? ConnectionOutcome::NoUnit : shown_;
    // Whatever is connected, a damaged image is never written, and the user is told why.
    if (view_.image.damaged) {
        view_.hint = loadText(language_, IDS_IMAGE_DAMAGED);
        view_.updateEnabled = false;
    }
    frontEnd_.render(view_);
}

bool Session::start(bool hotPlugWatched) {
    label();
    show();
    // Without arrivals and removals the window could never follow the unit.
    if (!hotPlugWatched) {
        frontEnd_.ask({BoxId::HotPlugUnavailable, loadText(language_, IDS_REGISTRATION_FAILED),
                       loadText(language_, IDS_REGISTRATION_FAILED_CAPTION), MessageIcon::Error,
                       MessageButtons::Ok});
        closeUnit(unit_);
        frontEnd_.end(kEndHotPlugUnavailable);
        return false;
    }
    connect({});
    return true;
}

std::int32_t Session::openNow(const std::wstring& onlyPath) {
    ++openings_;
    return onlyPath.empty() ? openUnit(unit_) : openUnitAt(unit_, onlyPath);
}

void Session::connect(const std::wstring& onlyPath) {
    showConnectionState(openNow(onlyPath));
}

void Session::release() {
    leaveReady(true);
    show();
}

bool Session::close() {
    if (!closeAllowed())
        return false;
    frontEnd_.stopDeviceChanges();
    closeUnit(unit_);
    frontEnd_.end(kEndClosed);
    return true;
}

void Session::hintWithInstructions(unsigned textId) {
    view_.hint = loadText(language_, textId) + L"\r\n\r\n" + loadText(language_, IDS_HINT_INSTRUCTIONS);
}

void Session::showConnectionState(int openResult) {
    const ConnectionOutcome outcome = connectionOutcome(unit_, openResult);
    shown_ = outcome;
    if (outcome == ConnectionOutcome::ReadyToUpdate) {
        view_.hint = loadText(language_, outcomeRow(outcome).hintText);
        view_.updateEnabled = true;
        refreshVersions();
        show();
        return;
    }
    view_.updateEnabled = false;
    closeUnit(unit_);
    if (outcome == ConnectionOutcome::EscIncompatible)
        okBox(BoxId::Incompatible,
              formatText(loadText(language_, IDS_INCOMPATIBLE_MESSAGE), {updaterProfile.modelName}),
              loadText(language_, IDS_INCOMPATIBLE_CAPTION), MessageIcon::Information);
    hintWithInstructions(outcomeRow(outcome).hintText);
    refreshVersions();
    show();
    processHeld();
}

// Update disabled and the versions shown again, the unit closed first if asked: how every
// state but Ready begins.
void Session::leaveReady(bool closeTheUnit) {
    if (closeTheUnit)
        closeUnit(unit_);
    view_.updateEnabled = false;
    refreshVersions();
}

void Session::refreshVersions() {
    const bool open = unitIsOpen(unit_);
    view_.versionsEnabled = open;
    if (!open) {
        view_.unitVersion = view_.bootloaderVersion = view_.escVersion = L"0.0.0";
        return;
    }
    view_.unitVersion = unitVersionText(unit_.unitFirmwareVersion);
    view_.bootloaderVersion = longVersionForm(escBootloaderVersion(unit_));
    view_.escVersion = escVersionText(escFirmwareVersion(unit_));
    view_.unitLabel = productLabel(unit_.productId);
    UnitIdentity& id = view_.identity;
    id = UnitIdentity{};
    id.identityWord = unit_.unitIdentityWord;
    if (unit_.unitInBootloader != 0) {
        const BootIdentity& b = unit_.bootIdentity;
        std::uint8_t* at = id.bootIdentity;
        at[0] = b.at4;
        writeU16(at + 1, b.at5);
        writeU32(at + 3, b.at7);
        writeU32(at + 7, b.at11);
        at[11] = b.at15;
    }
    std::memcpy(id.controllerInfo, unit_.escInfo.bytes, sizeof id.controllerInfo);
    std::memcpy(id.bootInfo, unit_.bootInfo.bytes, sizeof id.bootInfo);
}

// What the box is about stays on the screen behind it; device changes wait for its end.
void Session::okBox(BoxId id, const std::wstring& text, const std::wstring& caption,
                    MessageIcon icon) {
    show();
    ++boxesHolding_;
    frontEnd_.ask({id, text, caption, icon, MessageButtons::Ok});
    --boxesHolding_;
}

void Session::onArrival() {
    if (unitIsOpen(unit_))
        return; // even a second unit waits until the open one is gone
    if (openNow({}) != 0)
        return; // a device whose identification failed stays open until its removal
    showConnectionState(0);
}

void Session::onRemoval(const std::wstring& path) {
    if (!unitIsOpen(unit_) || !platformSamePath(path, unit_.devicePath))
        return;
    shown_ = ConnectionOutcome::NoUnit;
    leaveReady(true);
    hintWithInstructions(IDS_HINT_CONNECTION_LOST);
    show();
}

bool Session::mustHold() const {
    return boxesHolding_ > 0 || writing_ || processingHeld_;
}

void Session::deviceChanged(DeviceChange change, const std::wstring& path) {
    // Handled now, a change would race the code that opened a box to the hint, or pull
    // the unit from under an update.
    if (mustHold()) {
        held_.push_back({change, path});
        return;
    }
    if (change == DeviceChange::Arrival)
        onArrival();
    else
        onRemoval(path);
}

void Session::processHeld() {
    if (mustHold())
        return;
    processingHeld_ = true;
    while (!held_.empty()) {
        const HeldChange next = held_.front();
        held_.pop_front();
        if (next.change == DeviceChange::Arrival)
            onArrival();
        else
            onRemoval(next.path);
    }
    processingHeld_ = false;
}
