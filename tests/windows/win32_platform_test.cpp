// The Windows seam against what Wine offers: a HID bus without the unit, the real
// resources of the product, and the system's timers.
#include "platform/platform.h"
#include "platform/win32/system_library.h"
#include "unitlink/unit_connection.h"
#include "update/firmware_image.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(Win32Platform, ListsHidInterfacesWithoutTheUnit) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths)
        EXPECT_FALSE(path.empty());
}

TEST(Win32Platform, OpenUnitFindsNoUnitAndLeavesNothingOpen) {
    restrictDllSearchToSystem();
    EXPECT_EQ(openUnit(unitConnection), kNoUnitFound);
    EXPECT_FALSE(unitIsOpen(unitConnection));
    EXPECT_TRUE(unitConnection.devicePath.empty());
    closeUnit(unitConnection);
}

TEST(Win32Platform, OtherHidDevicesOpenAndReportTheirIds) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths) {
        DeviceHandle device = platformOpenDevice(path);
        if (device == kNoDevice)
            continue;
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
        if (platformGetAttributes(device, vendor, product)) {
            EXPECT_FALSE(vendor == kUnitVendorId && (product == 1 || product == 2));
        }
        platformCloseDevice(device);
    }
}

TEST(Win32Platform, ImageResourceLoadsWhole) {
    FirmwareImage image;
    ASSERT_TRUE(loadImage(image));
    EXPECT_EQ(image.length, 97792u);
    EXPECT_EQ(blockCount(image.length), 2038u);
}

TEST(Win32Platform, WaitsLastAtLeastTheirTimeAndKeepTheLastError) {
    for (std::uint32_t ms : {1u, 20u, 45u}) {
        SetLastError(1234);
        auto start = std::chrono::steady_clock::now();
        platformWait(ms);
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(ms));
        EXPECT_EQ(GetLastError(), 1234u);
    }
}

TEST(Win32Platform, NoDllIsTakenFromBesideTheExecutable) {
    EXPECT_NE(loadSystemLibrary(L"hid.dll"), nullptr);
    EXPECT_NE(loadSystemLibrary(L"setupapi.dll"), nullptr);
    EXPECT_EQ(loadSystemLibrary(L"no-such-library.dll"), nullptr);
}
