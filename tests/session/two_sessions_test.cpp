// Two sessions in one process, each with its own front end, window thread and unit, whose
// updates run at the same time: neither sees the other's requests, answers or views.
#include "resources/generate/firmware_pattern.h"
#include "resources/texts.h"
#include "resources/resource_ids.h"
#include "sim/sim_unit.h"
#include "tests/session/recording_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct Seen {
    std::vector<SessionView> views;
    std::vector<ProgressState> progress;
    std::vector<BoxId> boxes;
    UpdateEnd end = UpdateEnd::None;
};

// Both workers wait at block `meet` until the other has got there too, so that the two
// updates overlap whatever the scheduler does.
void runOne(const wchar_t* path, std::atomic<int>& atMeeting, Seen& seen) {
    RecordingWindow window;
    Session session(window, Language::English);
    window.attach(session);
    window.answers = {true};
    window.whileShowingProgress = [&](const ProgressState& state) {
        if (state.blocksWritten != 100)
            return;
        ++atMeeting;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (atMeeting.load() < 2 && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
    };
    session.start(true);
    ASSERT_EQ(session.view().device, path);
    session.updatePressed();
    window.pumpUntil([&] { return !session.updateRunning(); });
    for (const Box& box : window.boxes)
        seen.boxes.push_back(box.id);
    seen.views = window.views;
    seen.progress = window.progressStates;
    seen.end = session.lastUpdateEnd();
}

std::vector<std::vector<std::uint8_t>> requestsOf(int device) {
    std::vector<std::vector<std::uint8_t>> requests;
    for (const SimExchange& e : simTranscript())
        if (e.device == device)
            requests.push_back(e.request);
    return requests;
}

TEST(TwoSessions, UpdateTwoUnitsAtOnceEachExactlyAndToItsOwnFrontEnd) {
    simReset();
    const std::vector<std::uint8_t> image = standInImage();
    simSetFirmwareImage(image);
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    SimUnitConfig current;
    current.escFirmwareVersion = 0x0205;
    const int first = simAddUnit(L"/dev/hidraw1", dockpad);
    const int second = simAddUnit(L"/dev/hidraw2", current);
    // Each session takes the first unit it may open: the first is taken by then.
    std::atomic<int> atMeeting{0};
    Seen one, two;
    std::thread a([&] { runOne(L"/dev/hidraw1", atMeeting, one); });
    while (simOpenHandles() == 0)
        std::this_thread::yield();
    std::thread b([&] { runOne(L"/dev/hidraw2", atMeeting, two); });
    a.join();
    b.join();
    ASSERT_EQ(atMeeting.load(), 2) << "both were writing at once";

    const std::vector<std::vector<std::uint8_t>> requests[] = {requestsOf(first),
                                                               requestsOf(second)};
    for (int unit : {0, 1}) {
        const auto& r = requests[unit];
        ASSERT_EQ(r.size(), 3u + 3u + 4u + 2038u + 2u) << unit;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(r[3 + i], r[i]) << unit << ": identified again before the lock, alike";
        EXPECT_EQ(r[6][1], SYSTEM_LOCK) << unit;
        for (std::size_t block = 0; block < 2038; ++block) {
            const std::vector<std::uint8_t>& request = r[10 + block];
            ASSERT_EQ(request[1], WRITE_BLOCK) << unit << " " << block;
            const std::size_t bytes = block < 2037 ? 48 : 16;
            ASSERT_TRUE(std::equal(request.begin() + 4, request.begin() + 4 + bytes,
                                   image.begin() + 48 * block))
                << unit << " " << block;
        }
        EXPECT_EQ(r.back()[1], SYSTEM_LOCK) << unit;
    }
    for (int device : {first, second}) {
        EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(device).begin()));
        EXPECT_EQ(simProtocolViolations(device), 0u);
    }
    // The two transcripts interleave: the updates overlapped.
    const std::vector<SimExchange> transcript = simTranscript();
    std::size_t lastOfFirst = 0, firstOfSecondBlock = transcript.size();
    for (std::size_t i = 0; i < transcript.size(); ++i) {
        const SimExchange& e = transcript[i];
        if (e.device == first && e.request[1] == WRITE_BLOCK)
            lastOfFirst = i;
        if (e.device == second && e.request[1] == WRITE_BLOCK)
            firstOfSecondBlock = std::min(firstOfSecondBlock, i);
    }
    EXPECT_LT(firstOfSecondBlock, lastOfFirst);

    for (const Seen* seen : {&one, &two}) {
        EXPECT_EQ(seen->end, UpdateEnd::Succeeded);
        EXPECT_EQ(seen->boxes, std::vector<BoxId>{BoxId::ConfirmUpdate});
        ASSERT_EQ(seen->progress.size(), 2039u) << "the opening state and one per block";
        EXPECT_EQ(seen->progress.back().blocksWritten, 2038u);
        EXPECT_EQ(seen->views.back().hint, loadText(Language::English, IDS_HINT_UPDATE_DONE));
        EXPECT_EQ(seen->views.back().escVersion, L"3.0");
    }
    EXPECT_EQ(one.views.back().unitLabel, L"DOCKPAD");
    EXPECT_EQ(two.views.back().unitLabel, L"DOCK-BOX");
    EXPECT_EQ(one.views.back().device, L"/dev/hidraw1");
    EXPECT_EQ(two.views.back().device, L"/dev/hidraw2");
}

} // namespace
