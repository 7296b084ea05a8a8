// The Linux seam against virtual hidraw nodes: udev's list, the hidraw ioctls and the
// report transfers of the real code, the simulated unit answering behind the nodes.
#include "platform/linux/device_path.h"
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "tests/linux/unit_descriptor.h"
#include "tests/linux/virtual_hidraw.h"
#include "tests/native/recording_feedback.h"
#include "unitlink/unit_connection.h"
#include "unitlink/unit_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

// Descriptors of open device nodes: umockdev backs each node with a pseudo-terminal.
std::size_t openNodes() {
    std::size_t count = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(fds)) {
            char target[256] = {};
            const std::string link = "/proc/self/fd/" + std::string(entry->d_name);
            if (readlink(link.c_str(), target, sizeof target - 1) > 0 &&
                std::string(target).rfind("/dev/pts/", 0) == 0)
                ++count;
        }
        closedir(fds);
    }
    return count;
}

class HidrawSeamTest : public ::testing::Test {
  protected:
    UnitConnection unitConnection;
    HotPlugWatch* watch = nullptr;

    void SetUp() override {
        simReset();
        closeUnit(unitConnection);
        virtualHidrawStart();
    }
    void TearDown() override {
        closeUnit(unitConnection);
        platformStopHotPlug(watch);
        virtualHidrawStop();
    }

    int addUnit(int number, const SimUnitConfig& config = {},
                const std::vector<std::uint8_t>& descriptor = kUnitDescriptor,
                const std::string& port = {}) {
        const std::wstring path = widePath(("/dev/hidraw" + std::to_string(number)).c_str());
        const int sim = simAddUnit(path, config);
        virtualHidrawAdd({number, kUnitVendorId, config.productId, descriptor, sim, true, port});
        return sim;
    }

    void addOther(int number, std::uint16_t vendorId, std::uint16_t productId) {
        virtualHidrawAdd({number, vendorId, productId, kUnitDescriptor, -1, true, {}});
    }
};

TEST_F(HidrawSeamTest, ListsTheNodesInEnumerationOrder) {
    addOther(0, 0x046D, 0xC077);
    addOther(1, kUnitVendorId, 3);
    addUnit(2);
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    EXPECT_EQ(paths,
              (std::vector<std::wstring>{L"/dev/hidraw0", L"/dev/hidraw1", L"/dev/hidraw2"}));
}

TEST_F(HidrawSeamTest, OpensTheFirstUnitAndClosesWhatItSkipped) {
    addOther(0, 0x046D, 0xC077);
    addOther(1, kUnitVendorId, 3);
    virtualHidrawAdd({2, kUnitVendorId, 2, kUnitDescriptor, -1, false, {}}); // no node to open
    SimUnitConfig dockpad;
    dockpad.productId = 1;
    addUnit(3, dockpad);
    addUnit(4);

    ASSERT_EQ(openNodes(), 0u);
    ASSERT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(unitConnection.devicePath, L"/dev/hidraw3");
    EXPECT_EQ(unitConnection.productId, 1);
    EXPECT_EQ(openNodes(), 1u) << "only the unit stays open";
    closeUnit(unitConnection);
    EXPECT_EQ(openNodes(), 0u);
}

// A unit is named by the USB device above its node: two on one hub differ, and one pulled
// and plugged back into its socket, on a new node, has its name again.
TEST_F(HidrawSeamTest, EachUnitIsNamedByItsSocketAgainWhenPluggedBack) {
    addUnit(2, {}, kUnitDescriptor, "1-2.1");
    addUnit(3, {}, kUnitDescriptor, "1-2.2");
    addOther(0, 0x046D, 0xC077);
    EXPECT_EQ(platformPortOf(L"/dev/hidraw2"), L"1-2.1");
    EXPECT_EQ(platformPortOf(L"/dev/hidraw3"), L"1-2.2");
    EXPECT_EQ(platformPortOf(L"/dev/hidraw9"), L"") << "no such node";
    virtualHidrawRemove(2);
    EXPECT_EQ(platformPortOf(L"/dev/hidraw2"), L"");
    addUnit(4, {}, kUnitDescriptor, "1-2.1");
    std::vector<ListedUnit> units;
    ASSERT_TRUE(listUnits(units));
    std::vector<std::wstring> named;
    for (const ListedUnit& unit : units)
        named.push_back(unit.path + L" " + unit.port);
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, (std::vector<std::wstring>{L"/dev/hidraw3 1-2.2", L"/dev/hidraw4 1-2.1"}))
        << "back in the same socket, the same name";
    EXPECT_TRUE(platformIsPortName(L"1-2.1"));
    EXPECT_FALSE(platformIsPortName(L"/dev/hidraw4"));
}

TEST_F(HidrawSeamTest, ReadsIdsAndReportLengthsFromTheNode) {
    addUnit(0);
    const DeviceHandle device = platformOpenDevice(L"/dev/hidraw0");
    ASSERT_NE(device, kNoDevice);
    std::uint16_t vendorId = 0, productId = 0;
    ASSERT_TRUE(platformGetAttributes(device, vendorId, productId));
    EXPECT_EQ(vendorId, 0x1F4B);
    EXPECT_EQ(productId, 2);
    std::uint32_t output = 0, input = 0;
    ASSERT_TRUE(platformGetReportLengths(device, output, input));
    EXPECT_EQ(output, 60u);
    EXPECT_EQ(input, 60u);
    platformCloseDevice(device);
}

TEST_F(HidrawSeamTest, OneHandlePerNodeAndIdsReadWithoutOpening) {
    addUnit(0);
    const DeviceHandle first = platformOpenDevice(L"/dev/hidraw0");
    ASSERT_NE(first, kNoDevice);
    EXPECT_EQ(platformOpenDevice(L"/dev/hidraw0"), kNoDevice) << "another instance has it";
    EXPECT_EQ(platformLastError(), platformInUseError());
    std::uint16_t vendor = 0, product = 0;
    ASSERT_TRUE(platformPeekIds(L"/dev/hidraw0", vendor, product));
    EXPECT_EQ(vendor, kUnitVendorId);
    EXPECT_EQ(product, 2);
    platformCloseDevice(first);
    const DeviceHandle again = platformOpenDevice(L"/dev/hidraw0");
    EXPECT_NE(again, kNoDevice) << "closing releases it";
    platformCloseDevice(again);
}

TEST_F(HidrawSeamTest, IdentifiesTheUnitThroughTheNode) {
    SimUnitConfig config;
    config.unitFirmwareVersion = 0x00010203;
    config.typeCode = 0x0A06405A;
    config.escFirmwareVersion = 0x0207;
    config.bootloaderVersion = 0x01000502;
    const int unit = addUnit(0, config);
    ASSERT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(unitConnection.outputReportLength, 60u);
    EXPECT_EQ(unitConnection.inputReportLength, 60u);
    EXPECT_EQ(unitConnection.escState, 3);
    EXPECT_EQ(unitConnection.unitFirmwareVersion, 0x00010203u);
    EXPECT_EQ(escTypeCode(unitConnection), 0x0A06405Au);
    EXPECT_EQ(escFirmwareVersion(unitConnection), 0x0207);
    EXPECT_EQ(escBootloaderVersion(unitConnection), 0x01000502u);
    EXPECT_EQ(simTranscript().size(), 3u);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}

TEST_F(HidrawSeamTest, LongerReportsGoOutWholeWithZerosPastTheFrame) {
    SimUnitConfig config;
    config.outputReportLength = 64;
    config.inputReportLength = 65;
    const std::vector<std::uint8_t> longer = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                                              0x85, 0x01, 0x95, 0x3F, 0x09, 0x01, 0x91, 0x02, 0x85,
                                              0x02, 0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0xC0};
    const int unit = addUnit(0, config, longer);
    ASSERT_EQ(openUnit(unitConnection), 0);
    EXPECT_EQ(unitConnection.outputReportLength, 64u);
    EXPECT_EQ(unitConnection.inputReportLength, 65u);
    ASSERT_FALSE(simTranscript().empty());
    EXPECT_EQ(simTranscript()[0].request.size(), 64u);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
}

TEST_F(HidrawSeamTest, UnreadableDescriptorRefusesBeforeAnythingIsSent) {
    addUnit(0, {}, {0x06, 0x00, 0xFF, 0x85});
    EXPECT_EQ(openUnit(unitConnection), kExchangeRefused);
    EXPECT_TRUE(simTranscript().empty());
}

TEST_F(HidrawSeamTest, UnitVanishingFailsTheNextExchangeAtOnce) {
    const int unit = addUnit(0);
    ASSERT_EQ(openUnit(unitConnection), 0);
    simRemoveDevice(unit);
    Report request = {0x01, GET_INFO};
    Report answer = {};
    EXPECT_EQ(exchange(unitConnection, request, answer, 0), kExchangeWriteFailed);
    EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(ENODEV));
}

TEST_F(HidrawSeamTest, WholeUpdateThroughTheNodeOnTheSimulatedClock) {
    const std::vector<std::uint8_t> image = standInImage();
    simSetFirmwareImage(image);
    const int unit = addUnit(0);
    ASSERT_EQ(openUnit(unitConnection), 0);
    feedback = RecordingFeedback{};
    feedback.answers = {true, true};
    const std::uint64_t start = simNow();
    runUpdate(unitConnection, Language::English, feedback.bind());

    ASSERT_EQ(feedback.only("success").size(), 1u);
    EXPECT_TRUE(feedback.only("failure").empty());
    EXPECT_EQ(simNow() - start, 45840u) << "the fixed waits, nothing more";
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(unit).begin()));
    EXPECT_EQ(simTranscript().size(), 3u + 4u + 2038u + 2u);
    EXPECT_EQ(simProtocolViolations(unit), 0u);
    EXPECT_FALSE(simLockHeld(unit));
    EXPECT_TRUE(simWriteProtected(unit));
}

// Two units on two nodes, written at once from two threads: each node carries only its
// own unit's requests, and each update its own result and errors.
TEST_F(HidrawSeamTest, TwoNodesWrittenAtOnceFromTwoThreads) {
    const std::vector<std::uint8_t> image = standInImage();
    simSetFirmwareImage(image);
    const int first = addUnit(1);
    const int second = addUnit(2);
    simAddFault(second, {SimFaultKind::StatusError, WRITE_BLOCK, 1500, 9});
    RecordingFeedback feedbacks[2];
    UnitConnection units[2];
    ASSERT_EQ(openUnitAt(units[0], L"/dev/hidraw1"), 0);
    ASSERT_EQ(openUnitAt(units[1], L"/dev/hidraw2"), 0);
    std::thread writers[2];
    for (int i : {0, 1}) {
        feedbacks[i].answers = {true, true};
        writers[i] = std::thread([&, i] { runUpdate(units[i], Language::English, feedbacks[i].bind()); });
    }
    for (std::thread& writer : writers)
        writer.join();

    EXPECT_EQ(feedbacks[0].only("success").size(), 1u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), simFlash(first).begin()));
    EXPECT_EQ(simProtocolViolations(first), 0u);
    const std::vector<FeedbackCall> failed = feedbacks[1].only("failure");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].code, 9) << "the second unit's own error, on its own report";
    EXPECT_TRUE(feedbacks[1].only("success").empty());
    std::size_t requests[2] = {0, 0};
    bool interleaved = false;
    int last = -1;
    for (const SimExchange& e : simTranscript()) {
        ASSERT_TRUE(e.device == first || e.device == second);
        ++requests[e.device == first ? 0 : 1];
        interleaved = interleaved || (last >= 0 && last != e.device && requests[0] > 3 &&
                                      requests[1] > 3 && e.request[1] == WRITE_BLOCK);
        last = e.device;
    }
    EXPECT_EQ(requests[0], 3u + 4u + 2038u + 2u);
    EXPECT_EQ(requests[1], 3u + 4u + 1500u) << "nothing after the block that failed";
    EXPECT_TRUE(interleaved) << "the two wrote at the same time";
    closeUnit(units[0]);
    closeUnit(units[1]);
}

bool nextEvent(HotPlugWatch* watch, HotPlugEvent& event) {
    pollfd watched{platformHotPlugDescriptor(watch), POLLIN, 0};
    for (int tries = 0; tries < 100; ++tries) {
        if (platformNextHotPlug(watch, event))
            return true;
        poll(&watched, 1, 50);
    }
    return false;
}

TEST_F(HidrawSeamTest, MonitorReportsArrivalAndRemovalWithTheNode) {
    watch = platformWatchHotPlug(nullptr);
    ASSERT_NE(watch, nullptr);
    ASSERT_GE(platformHotPlugDescriptor(watch), 0);
    HotPlugEvent event{};
    EXPECT_FALSE(platformNextHotPlug(watch, event))
        << "nothing waits yet, and asking does not block";

    addUnit(5);
    ASSERT_TRUE(nextEvent(watch, event));
    EXPECT_TRUE(event.arrival);
    EXPECT_EQ(event.path, L"/dev/hidraw5");

    virtualHidrawRemove(5);
    ASSERT_TRUE(nextEvent(watch, event));
    EXPECT_FALSE(event.arrival);
    EXPECT_EQ(event.path, L"/dev/hidraw5");
    EXPECT_FALSE(platformNextHotPlug(watch, event));
}

} // namespace
