// What the session asks of a window. Each window defines these: app/ the Win32 dialog,
// app_qt/ the Qt window. All but windowRun and windowPostUpdateEnded are called on the
// window's thread.
#pragma once

#include <functional>
#include <string>

enum class VersionField { Unit, Bootloader, Esc };
enum class MessageIcon { Information, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo };

// The hint box's whole text.
void windowSetHint(const std::wstring& text);
std::wstring windowHint();
void windowEnableUpdate(bool enabled);
void windowSetVersion(VersionField field, const std::wstring& text);
void windowSetUnitLabel(const std::wstring& text);
// Enables or greys, in this order, the three version fields, then the three row labels.
void windowEnableVersionRows(bool enabled);
// A modal box owned by the main window, waiting until the user answers; its loop goes on
// delivering device notifications. True when OK or Yes was chosen.
bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons);

// From any thread: runs `work` on the window's thread and returns once it has run.
void windowRun(const std::function<void()>& work);
// From the update's worker thread, without waiting: makes the window's thread call
// finishUpdate().
void windowPostUpdateEnded();
