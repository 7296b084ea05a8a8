// The update, from the Update button's confirmations to the final message. It reaches the
// user only through the UpdateFeedback operations below, which session/ and each window
// define.
#pragma once

#include "update/firmware_image.h"

#include <cstdint>
#include <string>

// A window of the user interface, opaque to the update.
using FeedbackWindow = void*;

enum class ConfirmButtons { OkCancel, YesNo };

// UpdateFeedback: called from the thread that runs the update, each carried out on the
// window's thread.
std::wstring loadText(unsigned id);
bool confirmWarning(const std::wstring& caption, const std::wstring& text, ConfirmButtons buttons);
FeedbackWindow openProgress();
void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining);
void keepOnTop(FeedbackWindow progressWindow, FeedbackWindow& lastForeground);
void closeProgress(FeedbackWindow progressWindow);
void reportUpdateFailure(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                         std::uint32_t lastError);
void reportUpdateSuccess();

// What the first part of an update hands to the second.
struct UpdatePlan {
    FirmwareImage image;
};

// The whole update on the calling thread.
void runUpdate();

// The two halves of runUpdate. prepareUpdate asks the confirmations and loads the image
// (user-interface thread); false means the update ends here, already reported if it
// failed. writeUpdate sends everything from the lock on and may run on another thread.
bool prepareUpdate(UpdatePlan& plan);
void writeUpdate(const UpdatePlan& plan);

// The bar's position in percent: reaches 100 only when nothing remains.
constexpr std::uint32_t progressPercent(std::uint32_t total, std::uint32_t remaining) {
    return (total - remaining) * 100u / total;
}

// Waits between the steps of an update, in ms.
constexpr std::uint32_t kStepWaitMs = 20;
constexpr std::uint32_t kAfterEraseWaitMs = 4000;
