// A session against the simulated unit on its virtual clock and a recording front end.
#pragma once

#include "resources/texts.h"
#include "resources/resource_ids.h"
#include "sim/sim_unit.h"
#include "tests/session/recording_window.h"

#include <gtest/gtest.h>

inline const wchar_t* kUnitPath = L"/dev/hidraw3";

class SessionTest : public ::testing::Test {
  protected:
    explicit SessionTest(Language language = Language::English) : session{window, language} {
        window.attach(session);
    }
    ~SessionTest() override {
        pumpUntil([this] { return !session.updateRunning(); });
    }
    bool pumpUntil(const std::function<bool()>& done) { return window.pumpUntil(done); }
    static int plugUnit(const SimUnitConfig& config = {}, const wchar_t* path = kUnitPath) {
        return simAddUnit(path, config);
    }
    // A text in the session's language.
    std::wstring textOf(unsigned id) const { return loadText(session.language(), id); }
    std::wstring instructionsAfter(unsigned id) const {
        return textOf(id) + L"\r\n\r\n" + textOf(IDS_HINT_INSTRUCTIONS);
    }
    bool enabled(int control) { return window.enabled[control]; }
    std::wstring text(int control) { return window.texts[control]; }
    bool unitOpen() const { return !session.view().device.empty(); }

    // Before the session, which looks at the image as it begins: never the last test's.
    const bool simFresh_ = (simReset(), true);
    RecordingWindow window;
    Session session;
};
