// The Windows seam against what Wine offers: a HID bus without the unit, the real
// resources of the product, and the system's timers.
#include "platform/platform.h"
#include "platform/win32/system_library.h"
#include "unitlink/unit_connection.h"
#include "update/firmware_image.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <vector>

#include <string>

#include <chrono>

TEST(Win32Platform, ListsHidInterfacesWithoutTheUnit) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths)
        EXPECT_FALSE(path.empty());
}

TEST(Win32Platform, OpenUnitFindsNoUnitAndLeavesNothingOpen) {
    restrictDllSearchToSystem();
    UnitConnection unitConnection;
    EXPECT_EQ(openUnit(unitConnection), kNoUnitFound);
    EXPECT_FALSE(unitIsOpen(unitConnection));
    EXPECT_TRUE(unitConnection.devicePath.empty());
    closeUnit(unitConnection);
}

// Windows spells one interface's path in either case, in lists and in notifications.
TEST(Win32Platform, PathsAreTheSameWhateverTheCaseOfAToZ) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    ASSERT_FALSE(paths.empty()) << "Wine lists its own mouse and keyboard";
    std::wstring upper = paths[0];
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    EXPECT_TRUE(platformSamePath(paths[0], upper));
    EXPECT_FALSE(platformSamePath(paths[0], upper + L"0"));
    EXPECT_FALSE(platformSamePath(L"\u00C4", L"\u00E4")) << "only A to Z";
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

// One handle per device across every program: a second opening is refused as in use, in
// whichever case the path is spelled, until the first is closed.
TEST(Win32Platform, ADeviceOpenElsewhereIsInUseUntilClosed) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths) {
        const DeviceHandle first = platformOpenDevice(path);
        if (first == kNoDevice)
            continue;
        std::wstring upper = path;
        for (wchar_t& c : upper)
            c = static_cast<wchar_t>(towupper(c));
        EXPECT_EQ(platformOpenDevice(upper), kNoDevice);
        EXPECT_EQ(platformLastError(), platformInUseError());
        platformCloseDevice(first);
        const DeviceHandle again = platformOpenDevice(path);
        EXPECT_NE(again, kNoDevice) << "the lock went with the handle";
        if (again != kNoDevice)
            platformCloseDevice(again);
        return;
    }
    GTEST_SKIP() << "no HID device here opens";
}

// A read that no report answers ends at its time-out, with ERROR_TIMEOUT, and leaves the
// handle usable for the next.
TEST(Win32Platform, AnUnansweredReadTimesOutAndTheHandleStaysUsable) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths) {
        const DeviceHandle device = platformOpenDevice(path);
        if (device == kNoDevice)
            continue;
        std::uint32_t outputLength = 0, inputLength = 0;
        if (!platformGetReportLengths(device, outputLength, inputLength) || inputLength == 0) {
            platformCloseDevice(device);
            continue;
        }
        std::vector<std::uint8_t> report(inputLength);
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_FALSE(platformReadReport(device, report.data(), report.size(), 50));
            EXPECT_EQ(platformLastError(), static_cast<std::uint32_t>(ERROR_TIMEOUT)) << attempt;
        }
        std::uint16_t vendor = 0, product = 0;
        EXPECT_TRUE(platformGetAttributes(device, vendor, product));
        platformCloseDevice(device);
        return;
    }
    GTEST_SKIP() << "no HID device here opens with input reports";
}

// Wine's HID devices are on no USB root: each port name is empty or spelled as one, and
// asking keeps the last error.
TEST(Win32Platform, PortNamesOfTheListedInterfaces) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(platformListHidInterfaces(paths));
    for (const std::wstring& path : paths) {
        SetLastError(4321);
        const std::wstring port = platformPortOf(path);
        EXPECT_EQ(GetLastError(), 4321u);
        EXPECT_TRUE(port.empty() || platformIsPortName(port));
    }
    EXPECT_EQ(platformPortOf(L"\\\\?\\hid#none"), L"");
}

TEST(Win32Platform, ImageResourceLoadsWholeAndMatchesTheBuildsDigest) {
    FirmwareImage image;
    ASSERT_EQ(loadImage(image), ImageCheck::Intact);
    EXPECT_EQ(image.sha256.size(), 64u);
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

TEST(Win32Platform, SystemDllsComeFromTheSystemDirectoryOnceEach) {
    wchar_t own[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring besideUs(own, length);
    besideUs.resize(besideUs.find_last_of(L"\\/") + 1);
    ASSERT_NE(GetFileAttributesW((besideUs + L"hid.dll").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a hid.dll is planted beside the executable";
    SetEnvironmentVariableW(L"PLANTED_DLL_LOADED", nullptr);

    HMODULE hid = loadSystemLibrary(L"hid.dll");
    ASSERT_NE(hid, nullptr);
    EXPECT_EQ(GetEnvironmentVariableW(L"PLANTED_DLL_LOADED", nullptr, 0), 0u)
        << "the planted hid.dll was loaded";
    wchar_t loaded[MAX_PATH];
    wchar_t system[MAX_PATH];
    GetModuleFileNameW(hid, loaded, MAX_PATH);
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(loaded, system, systemLength), 0);
    EXPECT_EQ(loadSystemLibrary(L"hid.dll"), hid);
    EXPECT_NE(loadSystemLibrary(L"setupapi.dll"), nullptr);
    EXPECT_EQ(loadSystemLibrary(L"no-such-library.dll"), nullptr);

    // The plant does record being loaded, as its twin under another name shows.
    HMODULE twin = LoadLibraryW((besideUs + L"planted-probe.dll").c_str());
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(GetEnvironmentVariableW(L"PLANTED_DLL_LOADED", nullptr, 0), 0u);
    FreeLibrary(twin);
}
