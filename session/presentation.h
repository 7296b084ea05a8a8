// The rules of what the session shows, as plain functions: text formatting, version texts,
// the title, the outcome table, the logo's place and colours, the progress window's place
// and states. Shared by every front end.
#pragma once

#include "resources/resource_ids.h"
#include "session/front_end.h"
#include "session/session_view.h"
#include "resources/texts.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

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

// "NORVAX ORCA 75 LX FW Updater 3.0 ", the same in every language.
std::wstring windowTitle();

// Version rows.
std::wstring longVersionForm(std::uint32_t version);
std::wstring unitVersionText(std::uint32_t version);
std::wstring escVersionText(std::uint16_t version);
std::wstring productLabel(std::uint16_t productId);

// Each outcome: the text that opens its hint and its name for scripts (JSON); in the
// order of ConnectionOutcome.
struct OutcomeRow {
    ConnectionOutcome outcome;
    unsigned hintText;
    const char* name;
};
constexpr OutcomeRow kOutcomeTable[] = {
    {ConnectionOutcome::NoUnit, IDS_HINT_NO_UNIT, "no-unit"},
    {ConnectionOutcome::UnitWrongMode, IDS_HINT_WRONG_MODE, "wrong-mode"},
    {ConnectionOutcome::NoUpdatableEsc, IDS_HINT_NO_UPDATABLE_ESC, "no-updatable-esc"},
    {ConnectionOutcome::EscIncompatible, IDS_HINT_INCOMPATIBLE, "incompatible"},
    {ConnectionOutcome::ReadyToUpdate, IDS_HINT_READY, "ready"},
    {ConnectionOutcome::Updated, IDS_HINT_UPDATE_DONE, "updated"},
};
constexpr const OutcomeRow& outcomeRow(ConnectionOutcome outcome) {
    return kOutcomeTable[static_cast<int>(outcome)];
}

// What a window with the main dialog's controls changes to draw `now` over `was` (null:
// nothing drawn yet, so everything): texts by control id (the title as kTitleControl) and
// enabled states. Only what differs, so that a repeated text neither repaints nor scrolls
// the hint box back to its top.
constexpr int kTitleControl = 0;
struct ControlChange {
    int control;
    bool isText; // else an enabled state
    std::wstring text;
    bool enabled;
};
std::vector<ControlChange> controlChanges(const SessionView* was, const SessionView& now);

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
