// A front end that records what the session asks of it: control texts and states, the
// hint, boxes answered from a script, the progress window's states. Its window thread is
// the test's own; the update's worker reaches it through pump().
#pragma once

#include "session/session.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct SeenBox {
    std::wstring text, caption;
    MessageIcon icon;
    MessageButtons buttons;
};

struct RecordingWindow {
    std::wstring title;
    std::wstring hint;
    std::map<int, std::wstring> texts;
    std::map<int, bool> enabled;
    std::vector<SeenBox> boxes;
    std::deque<bool> answers; // empty: OK boxes answered OK, others declined
    std::function<void(const SeenBox&)> whileBoxOpen;
    bool deviceChangesStopped = false;
    int endedWith = -1; // the status of windowEnd, -1 while the window runs
    WindowFrame frame{100, 100, 560, 500};
    std::vector<std::string> progressCalls; // "open", "show", "close"
    std::vector<ProgressState> progressStates;
    int progressX = 0, progressY = 0, progressWidth = 0, progressHeight = 0;
    std::wstring progressTitle;
    bool progressOpen = false;
};

extern RecordingWindow window;

// A fresh window, bus and unit record.
void resetWindow();
// Runs the work the worker sent to the window's thread until `done` holds; false when the
// worker ended without it.
bool pumpUntil(const std::function<bool()>& done);
