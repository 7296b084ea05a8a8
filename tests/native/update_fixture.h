// An update against a ready simulated unit, its feedback recorded.
#pragma once

#include "resources/generate/firmware_pattern.h"
#include "resources/resource_ids.h"
#include "tests/native/recording_feedback.h"
#include "tests/native/sim_fixture.h"

#include <algorithm>

class UpdateTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        feedback = RecordingFeedback{};
        image = standInImage();
        simSetFirmwareImage(image);
    }

    int readyUnit(std::uint16_t installed = 0x0205) {
        SimUnitConfig config;
        config.escFirmwareVersion = installed;
        return openReadyUnit(config);
    }

    void runUpdate() { ::runUpdate(unitConnection, Language::English, feedback.bind()); }

    // Runs an update whose confirmations are all accepted.
    void update() {
        feedback.answers = {true, true};
        runUpdate();
    }

    FeedbackCall failure() const {
        std::vector<FeedbackCall> failures = feedback.only("failure");
        EXPECT_EQ(failures.size(), 1u);
        EXPECT_TRUE(feedback.only("success").empty());
        return failures.empty() ? FeedbackCall{} : failures[0];
    }

    std::vector<std::uint8_t> image;
};
