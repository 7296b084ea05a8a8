// How an update reaches the user. The update procedure calls these from the thread that
// runs it; the session fills them so that each runs on its own front end's window thread,
// and tests fill them to record what an update asked for. Each update is handed its own,
// so that two updates in one process report to their own front ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A window of the user interface, opaque to the update.
using FeedbackWindow = void*;

// The update's two questions, each known by what it asks, not by its buttons.
enum class Confirmation {
    Update,      // the first one: do not interrupt the update (OK/Cancel)
    SameOrNewer, // the image is not newer than what is installed (Yes/No)
};

struct UpdateFeedback {
    // True for OK or Yes.
    std::function<bool(Confirmation question, const std::wstring& caption,
                       const std::wstring& text)>
        confirm;
    // The progress window, opened once the address is set and closed after the last
    // block or before a block's failure is reported; setProgress after every block.
    std::function<FeedbackWindow()> openProgress;
    std::function<void(FeedbackWindow progress, std::uint32_t total, std::uint32_t remaining)>
        setProgress;
    std::function<void(FeedbackWindow progress, FeedbackWindow& lastForeground)> keepOnTop;
    std::function<void(FeedbackWindow progress)> closeProgress;
    // The end of an update. A failure leaves the unit record to the report, which closes it.
    std::function<void(const std::wstring& text, const std::wstring& caption, std::int32_t code,
                       std::uint32_t lastError)>
        reportFailure;
    std::function<void()> reportSuccess;
};
