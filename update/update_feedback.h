// How an update reaches the user. The update procedure calls these from the thread that
// runs it; session/ defines them and carries each out on the window's thread. Tests
// define them to record what an update asked for.
#pragma once

#include <cstdint>
#include <string>

// A window of the user interface, opaque to the update.
using FeedbackWindow = void*;

enum class ConfirmButtons { OkCancel, YesNo };

// A warning with OK/Cancel or Yes/No; true for OK or Yes.
bool confirmWarning(const std::wstring& caption, const std::wstring& text, ConfirmButtons buttons);
// The progress window, opened once the address is set and closed after the last block or
// before a block's failure is reported; setProgress after every block written.
FeedbackWindow openProgress();
void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining);
void keepOnTop(FeedbackWindow progressWindow, FeedbackWindow& lastForeground);
void closeProgress(FeedbackWindow progressWindow);
// The end of an update. A failure leaves the unit record to the report, which closes it.
void reportUpdateFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                         std::uint32_t lastError);
void reportUpdateSuccess();
