// A session whose unit is updated: the stand-in image set, a ready unit, an update run to
// its end, and what a failure leaves.
#pragma once

#include "resources/generate/firmware_pattern.h"
#include "tests/session/session_fixture.h"

#include <cstdio>

class UpdateRunner : public SessionTest {
  protected:
    explicit UpdateRunner(Language language = Language::English) : SessionTest(language) {}
    void SetUp() override {
        SessionTest::SetUp();
        image = standInImage();
        simSetFirmwareImage(image);
    }
    int readyUnit(std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.escFirmwareVersion = installed;
        const int unit = plugUnit(config);
        session.start(true);
        EXPECT_TRUE(enabled(IDC_UPDATE));
        return unit;
    }
    void updateToItsEnd() {
        session.updatePressed();
        ASSERT_TRUE(pumpUntil([this] { return !session.updateRunning(); }));
    }
    std::wstring codeLine(std::uint32_t code, std::uint32_t lastError) const {
        wchar_t line[128];
        std::swprintf(line, 128, L"0x%08x-0x%08x", code, lastError);
        std::wstring text = textOf(IDS_ERROR_CODE_LINE);
        return text.substr(0, text.find(L"0x%08x")) + line;
    }
    void expectWaitingAfterFailure() {
        EXPECT_EQ(window.hint, textOf(IDS_HINT_UPDATE_FAILED));
        EXPECT_FALSE(enabled(IDC_UPDATE));
        EXPECT_FALSE(unitOpen());
        EXPECT_EQ(text(IDC_ESC_VERSION), L"0.0.0");
        EXPECT_FALSE(enabled(IDC_ESC_VERSION));
    }
    std::vector<std::uint8_t> image;
};
