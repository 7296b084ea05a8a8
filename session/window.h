// What the session asks of a front end. Each front end defines every operation here:
// app/ the Win32 dialog, app_qt/ the Qt window, tests a recording one. A front end draws,
// asks and delivers events; what is shown and when is the session's (session/session.h).
//
// Threads: every operation but windowRun and windowPostUpdateEnded is called on the
// window's thread, the one that delivers the front end's events to the session.
// Control ids: the main dialog's control ids of resources/resource_ids.h, never another
// number. Texts break lines with "\r\n"; a front end shows them as its platform breaks
// lines.
#pragma once

#include "update/update_feedback.h"

#include <cstdint>
#include <functional>
#include <string>

enum class MessageIcon { Information, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo };

// The main window's title. A front end without a title may ignore it.
void windowSetTitle(const std::wstring& title);

// The hint box's whole text, and reading it back exactly as set ("\r\n" included).
void windowSetHint(const std::wstring& text);
std::wstring windowHint();

// A control's text (labels and version values), and enabled or greyed. A front end that
// shows no such control keeps the value for what it shows later.
void windowSetText(int control, const std::wstring& text);
void windowEnable(int control, bool enabled);

// A modal box owned by the main window, returning once the user has answered: true when
// OK or Yes was chosen. A front end whose wait cannot deliver device notifications (a
// console reading a prompt) may hold them back; the session holds what arrives during a
// box anyway and handles it in order afterwards.
bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons);

// Device notifications end here: the front end stops its hot-plug source and delivers no
// further events to handleDeviceChange.
void windowStopDeviceChanges();
// The main window ends; its program leaves its event loop with `status`.
void windowEnd(int status);

// The main window's frame on the screen: right and bottom are one past its last pixel.
struct WindowFrame {
    int left, top, right, bottom;
};
WindowFrame windowMainFrame();

// The windows the keep-on-top rule weighs: the main window, the one of this program in
// front (null when none is), raising one to the top without moving it, and showing it.
// Each may do nothing where the platform places and stacks windows itself; a null window
// is left alone.
FeedbackWindow windowMain();
FeedbackWindow windowInFront();
void windowRaise(FeedbackWindow window);
void windowShow(FeedbackWindow window);

// What the progress window shows: the bar's percentage, the blocks written of all, and a
// rounded-up estimate of the seconds left; all zero as the window opens, before the first
// block. A front end shows what it can.
struct ProgressState {
    std::uint32_t percent;
    std::uint32_t blocksWritten;
    std::uint32_t blocksTotal;
    std::uint32_t secondsLeft;
};
// A progress window owned by the main window, titled, with its top-left corner and size
// in pixels (a front end without windows ignores place and size), shown at once; then
// each state to show, and its end. Never null.
FeedbackWindow windowOpenProgress(const std::wstring& title, int x, int y, int width, int height);
void windowShowProgress(FeedbackWindow progress, const ProgressState& state);
void windowCloseProgress(FeedbackWindow progress);

// From any thread: runs `work` on the window's thread, in place when called there, and
// returns once it has run. The update's worker reaches the window only this way, so the
// order of requests, waits and progress stays that of the update.
void windowRun(const std::function<void()>& work);
// From the update's worker, without waiting: the window's thread calls finishUpdate() once
// its current event is handled.
void windowPostUpdateEnded();
