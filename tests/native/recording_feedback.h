// The update's feedback as a test sees it: every call recorded with the virtual time,
// confirmations answered from a script.
#pragma once

#include "update/update_procedure.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct FeedbackCall {
    std::string what; // confirm, open, progress, keepOnTop, close, failure, success
    std::uint64_t at;
    std::wstring caption, text;
    Confirmation question = Confirmation::Update;
    std::uint32_t total = 0, remaining = 0; // what a progress call was handed
    std::int32_t code = 0;
    std::uint32_t lastError = 0;
};

struct RecordingFeedback {
    std::vector<FeedbackCall> calls;
    std::deque<bool> answers;                   // confirmations; true for OK or Yes
    std::function<void()> whileConfirming;      // runs inside each confirmation box
    std::function<void()> whileShowingProgress; // runs inside each progress step
    FeedbackWindow progressWindow = reinterpret_cast<FeedbackWindow>(0x5150);

    std::vector<FeedbackCall> only(const std::string& what) const;
    // The update's feedback, recording into this.
    UpdateFeedback bind();
};

extern RecordingFeedback feedback;

// Texts by number, as "#40026", so tests can tell which one was passed.
std::wstring textId(unsigned id);
