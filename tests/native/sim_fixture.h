// A fresh simulated bus and an empty unit record for every test.
#pragma once

#include "sim/sim_unit.h"
#include "unitlink/unit_connection.h"

#include <gtest/gtest.h>

#include <vector>

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simReset();
        closeUnit(unitConnection);
    }
    void TearDown() override { closeUnit(unitConnection); }

    // A unit opened and identified, its exchanges dropped from the transcript.
    int openReadyUnit(const SimUnitConfig& config = {}) {
        int unit = simAddUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#unit", config);
        EXPECT_EQ(openUnit(unitConnection), 0);
        transcriptStart = simTranscript().size();
        return unit;
    }

    // What was written and read since openReadyUnit.
    std::vector<SimExchange> sent() const {
        const auto& all = simTranscript();
        return {all.begin() + static_cast<long>(transcriptStart), all.end()};
    }

    static std::vector<std::uint8_t> bytes(std::initializer_list<int> list, std::size_t size = 60) {
        std::vector<std::uint8_t> out(size, 0);
        std::size_t i = 0;
        for (int b : list)
            out[i++] = static_cast<std::uint8_t>(b);
        return out;
    }

    std::size_t transcriptStart = 0;
    UnitConnection unitConnection;
};
