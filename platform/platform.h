// The only way the portable core reaches the operating system. One implementation is
// linked into each executable: platform/win32 for the product, sim/ for tests and the demo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using DeviceHandle = std::intptr_t;
constexpr DeviceHandle kNoDevice = -1;

// The operating system's "timeout period expired" error (ERROR_TIMEOUT).
constexpr std::uint32_t kTimeoutError = 1460;

// Fills `paths` with the present HID interfaces in enumeration order. Interfaces whose
// path cannot be read are left out. False when the list itself is unavailable.
bool platformListHidInterfaces(std::vector<std::wstring>& paths);

// Read and write, shared for both, existing device only. kNoDevice on failure.
DeviceHandle platformOpenDevice(const std::wstring& path);
bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId);

// Whole report lengths, report ID included. False when the preparsed data cannot be had
// or the capability status is not success.
bool platformGetReportLengths(DeviceHandle device, std::uint32_t& outputLength,
                              std::uint32_t& inputLength);

// Drops input reports the device queued before now.
void platformFlushInput(DeviceHandle device);

// One whole report each. A transfer that does not complete within `timeoutMs` is
// cancelled, the device's queued input is dropped (so a late answer is never taken for
// the next one), and it fails with kTimeoutError as the last-error value.
bool platformWriteReport(DeviceHandle device, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs);
bool platformReadReport(DeviceHandle device, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs);

void platformCloseDevice(DeviceHandle device);

std::uint32_t platformLastError();

// Lasts at least `ms` and not much longer.
void platformWait(std::uint32_t ms);

// The firmware image carried by the executable; false when there is none.
bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length);
