// The progress window of an update: when it opens, where it goes, what it shows, when it
// is raised and when it closes. The update's worker calls these; each runs its window work
// on the window's thread.
#include "session/session.h"

#include "resources/resource_ids.h"
#include "update/firmware_image.h"
#include "update/update_procedure.h"

WindowCorner progressWindowCorner(const WindowFrame& main) {
    return {main.left + ((main.right - main.left) >> 1) - (kProgressWidth >> 1),
            main.top + ((main.bottom - main.top) >> 1) - (kProgressHeight >> 1)};
}

ProgressState progressState(std::uint32_t total, std::uint32_t remaining) {
    ProgressState state{};
    state.percent = progressPercent(total, remaining);
    state.blocksTotal = static_cast<std::uint32_t>(blockCount(total));
    state.blocksWritten = state.blocksTotal - static_cast<std::uint32_t>(blockCount(remaining));
    // The fixed wait after each block is nearly all of a block's time.
    const std::uint64_t msLeft =
        std::uint64_t{state.blocksTotal - state.blocksWritten} * kStepWaitMs;
    state.secondsLeft = static_cast<std::uint32_t>((msLeft + 999) / 1000);
    return state;
}

bool progressCloseAllowed() {
    return !updateRunning();
}

namespace {

void raiseMainAndProgress(FeedbackWindow progress) {
    windowRaise(windowMain());
    windowRaise(progress);
}

} // namespace

FeedbackWindow openProgress() {
    FeedbackWindow progress = nullptr;
    windowRun([&] {
        const WindowCorner corner = progressWindowCorner(windowMainFrame());
        progress = windowOpenProgress(loadText(IDS_PROGRESS_TITLE), corner.x, corner.y,
                                      kProgressWidth, kProgressHeight);
        windowShowProgress(progress, ProgressState{});
        raiseMainAndProgress(progress);
    });
    return progress;
}

void setProgress(FeedbackWindow progress, std::uint32_t total, std::uint32_t remaining) {
    const ProgressState state = progressState(total, remaining);
    windowRun([&] { windowShowProgress(progress, state); });
}

void closeProgress(FeedbackWindow progress) {
    windowRun([&] { windowCloseProgress(progress); });
}

// Once per update at most: the first time, after a block, that one of the two windows is
// in front, both are brought to the top; never over another program's window.
void keepOnTop(FeedbackWindow progress, FeedbackWindow& lastForeground) {
    const FeedbackWindow main = windowMain();
    if (lastForeground == main || (lastForeground != nullptr && lastForeground == progress))
        return;
    windowRun([&] {
        const FeedbackWindow front = windowInFront();
        if (front == nullptr || (front != main && front != progress))
            return;
        lastForeground = front;
        raiseMainAndProgress(progress);
        windowShow(main);
        windowShow(progress);
    });
}
