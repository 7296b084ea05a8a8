// What a front end implements: app/ the Win32 dialog, app_qt/ the Qt window, app_web/ the
// browser page, terminal/ the console and each unit of a production line, tests a
// recording one. It draws the session's view, asks its boxes, shows an update's progress
// and runs work on its window thread; what is shown and when is the session's
// (session/session.h).
//
// Threads: every operation but run and postUpdateEnded is called on the window's thread,
// the one on which the front end delivers its events to the session.
// Re-entrancy: ask() waits for the user. A window keeps delivering device changes while a
// box is open (its event loop runs inside the box); the session may then be re-entered
// through Session::deviceChanged. It holds what arrives during its own OK boxes and
// handles it in order after them. What arrives during a confirmation it handles at once,
// as when no box is open: a removal of the unit closes it, and the update, once confirmed,
// fails at its first request, the lock, whose text is then shown without a code line; an
// arrival changes nothing while a unit is open, and after such a removal opens the unit
// that came, which the confirmed update then refuses to write (the unit is identified
// again after the last confirmation). ask() may also run other sessions' work queued for this
// thread (a production line's other units); no work of its own session is queued then,
// since nothing of an update runs before its confirmations end. A front end whose wait
// cannot deliver device changes (a console reading a prompt) need not.
#pragma once

#include "session/session_view.h"
#include "update/update_feedback.h"

#include <functional>
#include <string>

enum class MessageIcon { Information, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo };

// Which box it is, so that a front end that answers by itself (the terminal's --yes and
// --force) answers by what is asked, never by the buttons offered.
enum class BoxId {
    ConfirmUpdate,      // the first confirmation of an update (OK/Cancel)
    ConfirmSameOrNewer, // the image is not newer than the installed firmware (Yes/No)
    Incompatible,       // the controller is of another model (OK)
    UpdateFailed,       // a failing step's text and code line (OK)
    HotPlugUnavailable, // arrivals and removals cannot be followed; the window ends (OK)
    ControllerChanged,  // what the update was confirmed for is no longer connected (OK)
};

struct Box {
    BoxId id;
    std::wstring text, caption; // lines broken with "\r\n"
    MessageIcon icon;
    MessageButtons buttons;
};

// The status with which the main window ends: its program's exit status.
enum EndStatus : int {
    kEndClosed = 0,             // closed by the user
    kEndHotPlugUnavailable = 1, // it could not follow arrivals and removals
};

// The main window's frame on the screen: right and bottom are one past its last pixel.
struct WindowFrame {
    int left, top, right, bottom;
};

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // The whole view, after every change and before every box. A front end redraws what
    // differs from what it shows; one without such a control keeps the value for later.
    virtual void render(const SessionView& view) = 0;

    // A modal box owned by the main window, returning once the user has answered: true
    // when OK or Yes was chosen.
    virtual bool ask(const Box& box) = 0;

    // Device changes end here: the front end stops its hot-plug source and delivers no
    // further events.
    virtual void stopDeviceChanges() = 0;
    // The main window ends; its program leaves its event loop with `status`.
    virtual void end(EndStatus status) = 0;

    // The windows the keep-on-top rule weighs, for a front end with windows of its own:
    // the main window's frame, the main window, the one of this program in front (null
    // when none is), raising one to the top without moving it, and showing it; a null
    // window is left alone. A front end without such windows (a console, or a page whose
    // main and progress windows are one, stacked by the browser) overrides none of them:
    // nothing is then in front, so the rule never acts, and the progress window has no
    // place.
    virtual WindowFrame mainFrame() { return {0, 0, 0, 0}; }
    virtual FeedbackWindow mainWindow() { return nullptr; }
    virtual FeedbackWindow inFront() { return nullptr; }
    virtual void raise(FeedbackWindow) {}
    virtual void show(FeedbackWindow) {}

    // A progress window owned by the main window, titled, with its top-left corner and
    // size in pixels (a front end without windows ignores them), shown at once; then each
    // state to show, and its end. Null on Windows where the window could not be made: the
    // update goes on without it, and showProgress and closeProgress then take null.
    virtual FeedbackWindow openProgress(const std::wstring& title, int x, int y, int width,
                                        int height) = 0;
    virtual void showProgress(FeedbackWindow progress, const ProgressState& state) = 0;
    virtual void closeProgress(FeedbackWindow progress) = 0;

    // From any thread: runs `work` on the window's thread, in place when called there, and
    // returns once it has run. The update's worker reaches the window only this way, so
    // the order of requests, waits and progress stays that of the update.
    virtual void run(const std::function<void()>& work) = 0;
    // From the update's writer, without waiting: the window's thread calls
    // Session::updateEnded() once its current event is handled. The writer is a worker
    // thread, or, with UpdateWriter::WindowThread, the window's thread itself, which then
    // calls it before Session::updatePressed returns.
    virtual void postUpdateEnded() = 0;
};
