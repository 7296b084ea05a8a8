// The session against the simulated unit on its virtual clock and a recording front end.
#pragma once

#include "resources/locale_texts.h"
#include "resources/resource_ids.h"
#include "sim/sim_unit.h"
#include "tests/session/recording_window.h"
#include "unitlink/unit_connection.h"

#include <gtest/gtest.h>

inline const wchar_t* kUnitPath = L"/dev/hidraw3";

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chooseLanguage(false);
        resetWindow();
    }
    void TearDown() override {
        pumpUntil([] { return !updateRunning(); });
        closeUnit(unitConnection);
        chooseLanguage(false);
    }
    static int plugUnit(const SimUnitConfig& config = {}, const wchar_t* path = kUnitPath) {
        return simAddUnit(path, config);
    }
    static std::wstring instructionsAfter(unsigned id) {
        return loadText(id) + L"\r\n\r\n" + loadText(IDS_HINT_INSTRUCTIONS);
    }
    static bool enabled(int control) { return window.enabled[control]; }
    static std::wstring text(int control) { return window.texts[control]; }
};
