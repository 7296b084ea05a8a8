// The only way the portable core reaches the operating system. One implementation is
// linked into each executable: platform/win32 (SetupAPI, hid.dll), platform/linux
// (hidraw, libudev) or platform/web (WebHID in a browser's worker, whose waits suspend
// the core: by JSPI where the browser has it, by Asyncify only where it has not) for the
// product, sim/ for tests and the demo.
//
// Threads: every function may be called from several threads at once, each thread on its
// own device handles (two sessions updating two units): nothing is shared between handles
// but the list of interfaces, which each call reads afresh. One handle is used by one
// thread at a time. The last-error value is per thread (GetLastError, errno, the simulated
// unit's per-thread value): a function that fails leaves its error there unless it says
// otherwise; one that succeeds may change it, unless it says it keeps it. The waits of one
// thread are never shortened or stretched by another's, except on the simulation's virtual
// clock, which is one for all threads: a wait on one moves it on for every other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An open unit: on Windows its own record (file and lock), on Linux a file descriptor,
// in the browser and the simulation a number of their own.
using DeviceHandle = std::intptr_t;
constexpr DeviceHandle kNoDevice = -1;

// Fills `paths` with the present HID interfaces in enumeration order (on Linux the hidraw
// device nodes: the very strings a removal notification reports). Interfaces whose path
// cannot be read are left out. False, with `paths` empty and the system's error, when the
// list itself is unavailable.
bool platformListHidInterfaces(std::vector<std::wstring>& paths);

// Whether two interface paths name one interface: on Windows without regard to the case
// of the letters A to Z (notifications and lists may spell a path differently), elsewhere
// exactly. Keeps the last-error value.
bool platformSamePath(const std::wstring& a, const std::wstring& b);

// The USB IDs of a listed interface without opening it (from udev's record on Linux, from
// the interface path on Windows), so that a device this user may not open can still be
// named. False when they cannot be told.
bool platformPeekIds(const std::wstring& path, std::uint16_t& vendorId, std::uint16_t& productId);

// The name of the USB socket a listed interface's device is plugged into: the same when it
// is plugged into the same socket again, another for another socket, even on one hub. On
// Linux the USB device's port path in sysfs ("1-2.3": bus 1, port 2 of the root hub, port
// 3 of the hub there); on Windows the same form from the device's location path under its
// USB root ("0-2.3"). Empty where the platform has none (a browser) or cannot tell. Keeps
// the last-error value.
std::wstring platformPortOf(const std::wstring& path);
// What tells this plugging of a listed interface's device apart from an earlier one at the
// same path, which a unit swapped between two looks would otherwise pass for: on Linux the
// HID device's name in sysfs ("0003:1F4B:0002.000A", counted up at each plugging); in the
// simulation the device's index on the bus. Empty where the platform cannot tell (Windows,
// a browser). Keeps the last-error value.
std::wstring platformInstanceOf(const std::wstring& path);
// Whether `port` is spelled as this platform spells the names platformPortOf gives.
bool platformIsPortName(const std::wstring& port);

// Read and write, existing device only, and one handle per device across every program
// that opens it this way: two instances never talk to one unit at once (in a browser, its
// pages of the site: one per vendor and product, since WebHID tells no serial number).
// kNoDevice on failure, with the system's error (access denied, not found), or
// platformInUseError() while another handle to the device is open; on Windows also when
// the lock that tells so could not be made (CreateMutexW failed).
DeviceHandle platformOpenDevice(const std::wstring& path);
std::uint32_t platformInUseError();
// The device's USB IDs. False with the system's error when they cannot be read.
bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId);

// Whole report lengths, report ID included, as one write and one read carry them. False
// when the capabilities (on Linux the report descriptor) cannot be had, with the system's
// error, or cannot be understood, with ERROR_INVALID_DATA or EINVAL.
bool platformGetReportLengths(DeviceHandle device, std::uint32_t& outputLength,
                              std::uint32_t& inputLength);

// Drops input reports the device queued before now, without blocking. Keeps the
// last-error value.
void platformFlushInput(DeviceHandle device);

// One whole report each. A transfer that does not complete within `timeoutMs` fails with
// the platform's time-out error (ERROR_TIMEOUT, ETIMEDOUT) as the last-error value, and the
// device's queued input is dropped (so a late answer is never taken for the next one). It
// is cancelled on Windows and Linux; a browser cannot cancel a WebHID transfer, which may
// still complete after the failure. A device that is gone fails at once.
bool platformWriteReport(DeviceHandle device, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs);
bool platformReadReport(DeviceHandle device, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs);

// Keeps the last-error value, so that a failure can be reported after the unit is closed.
void platformCloseDevice(DeviceHandle device);

// The error of this thread's last failed call (GetLastError, errno).
std::uint32_t platformLastError();
// Gives this thread's last-error value back, as taken by platformLastError, after work
// that may have changed it.
void platformSetLastError(std::uint32_t error);

// Lasts at least `ms` and not much longer. Keeps the last-error value. Each thread learns
// the lateness of its own wake-ups, so that a thread's waits in a row stay close to
// what they ask. In a browser a wait may return up to 0.3 ms before its end, which the
// next report written then waits out: no report leaves before a wait's end.
void platformWait(std::uint32_t ms);

// A moment `ms` from now on the clock the waits use (its unit is the platform's own), and
// a wait until then: at once if it has passed. Both keep the last-error value. A wait
// counted from an event this way lets work done meanwhile overlap it.
using WaitDeadline = std::int64_t;
WaitDeadline platformDeadline(std::uint32_t ms);
void platformWaitUntil(WaitDeadline deadline);
// A moment `ms` after the last input report that a read on `device` took arrived, on the
// clock of platformDeadline: counted from the answer itself, not from when the caller got
// it. Where a read returns as its report arrives (Linux, Windows, the simulation) the same
// as platformDeadline(ms); in a browser the answer's way to the suspended core is left
// out. platformDeadline(ms) when no read has taken a report. Keeps the last-error value.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle device, std::uint32_t ms);

// Now in microseconds on the clock the waits use, from a start of its own: for telling
// when a report went and how long a wait lasted. Keeps the last-error value.
std::int64_t platformMicroseconds();

// The firmware image carried by the executable; false when there is none. The data is
// read-only and lives as long as the process (the simulated unit's until its image is set
// again or the bus reset).
bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length);
// The SHA-256 that the build took of that image, kept apart from it: 64 lowercase
// hexadecimal digits, empty when there is none. What is embedded must match it.
std::string platformFirmwareImageSha256();

// Following arrivals and removals of HID interfaces. On Windows they come as
// WM_DEVICECHANGE messages to `window` (a HWND), whose procedure reads them; elsewhere
// `window` is unused and they come from the system's device monitor (udev) or, in a
// browser, from WebHID's events and the devices the page's chooser granted. Null, with
// the system's error, when they cannot be followed. One watch per window; several may
// exist in one process.
struct HotPlugWatch;
struct HotPlugEvent {
    bool arrival;      // else a removal
    std::wstring path; // the interface's path, as platformListHidInterfaces names it
};
HotPlugWatch* platformWatchHotPlug(void* window);
// A descriptor that becomes readable while events wait; -1 where they come as messages.
int platformHotPlugDescriptor(const HotPlugWatch* watch);
// Takes the next waiting event without blocking; false when none waits (always where
// they come as messages).
bool platformNextHotPlug(HotPlugWatch* watch, HotPlugEvent& event);
// Ends the watch; null is allowed. Keeps the last-error value.
void platformStopHotPlug(HotPlugWatch* watch);
