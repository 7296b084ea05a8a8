// What the session asks of a window. Each window defines these: app/ the Win32 dialog,
// app_qt/ the Qt window. All but windowRun and windowPostUpdateEnded are called on the
// window's thread.
#pragma once

#include "update/update_procedure.h"

#include <functional>
#include <string>

enum class MessageIcon { Information, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo };

// The hint box's whole text.
void windowSetHint(const std::wstring& text);
std::wstring windowHint();
// A control of the main window by its id (resources/resource_ids.h): its text, and
// enabled or greyed.
void windowSetText(int control, const std::wstring& text);
void windowEnable(int control, bool enabled);
// A modal box owned by the main window, waiting until the user answers; its loop goes on
// delivering device notifications. True when OK or Yes was chosen.
bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons);

// The windows that the keep-on-top rule weighs: the main window, the one in front (null
// when none of this program is), and raising one to the top without moving it, and
// showing it. A null window is left alone.
FeedbackWindow windowMain();
FeedbackWindow windowInFront();
void windowRaise(FeedbackWindow window);
void windowShow(FeedbackWindow window);

// From any thread: runs `work` on the window's thread and returns once it has run.
void windowRun(const std::function<void()>& work);
// From the update's worker thread, without waiting: makes the window's thread call
// finishUpdate().
void windowPostUpdateEnded();
