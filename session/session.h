// What the main window shows and when, the same for every front end: start-up and close,
// the connection outcome and its hint, the version rows, arrival and removal of devices,
// the notifications held while a box or an update runs, the Update button's runner and the
// progress window. Neither Win32 nor Qt: each front end implements session/window.h.
#pragma once

#include "session/window.h"
#include "update/texts.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

// Texts live in buffers of 2048 characters.
constexpr std::size_t kLongestText = 2047;

// Bounded printf-style formatting of the texts: "%s" takes a text, "%u" and "%08x" a
// 32-bit value; the result is cut to the 2047 characters of a text buffer.
struct FormatArg {
    FormatArg(const wchar_t* text) : text(text) {}
    FormatArg(const std::wstring& text) : text(text) {}
    FormatArg(std::uint32_t number) : isNumber(true), number(number) {}
    std::wstring text;
    bool isNumber = false;
    std::uint32_t number = 0;
};
std::wstring formatText(const std::wstring& format, std::initializer_list<FormatArg> args);
// Letters A to Z compared without regard to case, as device paths are.
bool samePath(const std::wstring& a, const std::wstring& b);

// Start-up and close. The unit record is emptied before any window exists
// (sessionPrepare); once the front end has its window and has tried to start its hot-plug
// source, sessionStart titles and labels the window and makes the first connection
// attempt, or, without a hot-plug source, says so in a box and ends the window with
// status 1 (false). sessionClose ends the window unless an update runs (false).
void sessionPrepare();
// The title and the row labels, as sessionStart sets them.
void sessionLabelWindow();
bool sessionStart(bool hotPlugWatched);
bool sessionClose();
// A connection attempt as at start: the first unit, or only the one at `onlyPath`.
void sessionConnect(const std::wstring& onlyPath);

// "NORVAX ORCA 75 LX FW Updater 3.0 ", the same in every language.
std::wstring windowTitle();

// The logo's place in the window's client coordinates: at most half the bitmap's width, no
// wider than the room right of the group box less 45 pixels, 20 pixels right of the box,
// level with its top; the height keeps the aspect ratio, truncated in single precision.
struct LogoPlace {
    int x, y, width, height;
};
LogoPlace logoPlace(int windowRight, int groupRight, int groupTop, int bitmapWidth,
                    int bitmapHeight);
// Without room for it the logo is not drawn at all.
inline bool logoFits(const LogoPlace& place) {
    return place.width > 0 && place.height > 0;
}
// The logo bitmap's background, drawn transparent (0xRRGGBB).
constexpr std::uint32_t kLogoTransparentColour = 0x00FF00;
// The controller's row is drawn in red (0xRRGGBB) while it is enabled.
constexpr std::uint32_t kControllerRowColour = 0xFF0000;
bool isControllerRow(int control);

// The progress window: its size, its top-left corner centred on the main window's frame
// (halves taken by an arithmetic shift), and what it shows after a part of the image is
// written (sizes in bytes).
constexpr int kProgressWidth = 400;
constexpr int kProgressHeight = 50;
struct WindowCorner {
    int x, y;
};
WindowCorner progressWindowCorner(const WindowFrame& main);
ProgressState progressState(std::uint32_t total, std::uint32_t remaining);
// The user may not close the progress window while the update runs, as Close is refused:
// it would hide the only sign of the update; it goes when the update ends.
bool progressCloseAllowed();

// Connection state.
enum class ConnectionOutcome {
    NoUnit,
    UnitWrongMode,
    NoUpdatableEsc,
    EscIncompatible,
    ReadyToUpdate
};
ConnectionOutcome connectionOutcome(int openResult);
// The outcome shown last; NoUnit before the first and after the unit's removal.
ConnectionOutcome currentOutcome();
void showConnectionState(int openResult);
void appendInstructions();
// Update disabled and the versions shown again, the unit closed first if asked: how every
// state but Ready begins.
void leaveReady(bool closeTheUnit);

// Version rows.
std::wstring longVersionForm(std::uint32_t version);
std::wstring unitVersionText(std::uint32_t version);
std::wstring escVersionText(std::uint16_t version);
std::wstring productLabel(std::uint16_t productId);
void refreshVersions();

// Hot-plug: an arrival of a HID interface, or a removal with its path. Held while a box
// holds them or an update runs, and handled in order afterwards.
enum class DeviceChange { Arrival, Removal };
void handleDeviceChange(DeviceChange change, const std::wstring& path);
// A message box during which notifications wait until it is closed.
void messageBoxHoldingNotifications(const std::wstring& text, const std::wstring& caption,
                                    MessageIcon icon);
// Handles the notifications that waited, once nothing holds them any more.
void processHeldNotifications();

// The Update button: confirmations on the window's thread, the rest on a worker thread.
// While it runs only the worker touches the unit record: notifications are held, Close is
// refused and the Update button is disabled, all three by updateRunning().
void startUpdate();
bool updateRunning();
// How the last press of Update ended: declined at one of the confirmations, failed (the
// failure reported) or written.
enum class UpdateEnd { None, Declined, Failed, Succeeded };
UpdateEnd lastUpdateEnd();
// On the window's thread, once the worker has said it ended.
void finishUpdate();
bool closeAllowed();
