// Where the progress window goes and when it is raised.
#include "session/session.h"

WindowCorner progressWindowCorner(int left, int top, int right, int bottom) {
    return {left + ((right - left) >> 1) - 200, top + ((bottom - top) >> 1) - 25};
}

void raiseMainAndProgress(FeedbackWindow progress) {
    windowRaise(windowMain());
    windowRaise(progress);
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
