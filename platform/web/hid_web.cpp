// The unit through WebHID, from the browser's Dedicated Worker that runs the core. The
// devices, their input queues and the last error live in the worker's script
// (platform/web/web_hid.js); a call that must wait for the browser suspends the core
// until the promise settles, so the core's calls stay blocking ones.
#include "platform/platform.h"
#include "platform/web/suspending_js.h"

#include <emscripten.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// clang-format off
WEB_SUSPENDING_JS(char*, webListInterfaces, (), {
    const text = (await self.orcaWebHid.list()).join('\n');
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(int, webPeekIds, (const char* path), {
    return self.orcaWebHid.peekIds(UTF8ToString(path));
});
WEB_SUSPENDING_JS(int, webOpen, (const char* path), {
    return await self.orcaWebHid.open(UTF8ToString(path));
});
EM_JS(int, webAttributes, (int handle), {
    return self.orcaWebHid.attributes(handle);
});
EM_JS(int, webReportLength, (int handle, int output), {
    return self.orcaWebHid.reportLength(handle, output !== 0);
});
EM_JS(void, webFlush, (int handle), {
    self.orcaWebHid.flush(handle);
});
WEB_SUSPENDING_JS(int, webWrite, (int handle, const std::uint8_t* bytes, int length, int timeoutMs), {
    return await self.orcaWebHid.write(handle, HEAPU8.slice(bytes, bytes + length), timeoutMs);
});
// A report already queued is taken without suspending the core.
EM_JS(int, webTakeQueued, (int handle, std::uint8_t* bytes, int length), {
    const report = self.orcaWebHid.takeQueued(handle);
    if (report === null)
        return 0;
    HEAPU8.fill(0, bytes, bytes + length);
    HEAPU8.set(report.subarray(0, length), bytes);
    return 1;
});
WEB_SUSPENDING_JS(int, webRead, (int handle, std::uint8_t* bytes, int length, int timeoutMs), {
    const report = await self.orcaWebHid.read(handle, timeoutMs);
    if (report === null)
        return 0;
    HEAPU8.fill(0, bytes, bytes + length);
    HEAPU8.set(report.subarray(0, length), bytes);
    return 1;
});
WEB_SUSPENDING_JS(void, webClose, (int handle), {
    await self.orcaWebHid.close(handle);
});
EM_JS(int, webLastError, (), {
    return self.orcaWebHid.lastError;
});
// When the report the last read took arrived, in ms of the worker's clock; -1: none.
EM_JS(double, webLastArrival, (int handle), {
    return self.orcaWebHid.lastArrival(handle);
});
EM_JS(void, webSetLastError, (int error), {
    self.orcaWebHid.lastError = error;
});
EM_JS(int, webInUseError, (), {
    return self.orcaWebHid.errors.EBUSY;
});
// clang-format on

std::string utf8(const std::wstring& path) {
    std::string bytes;
    for (wchar_t c : path)
        bytes += static_cast<char>(c < 0x80 ? c : '?'); // the worker names devices in ASCII
    return bytes;
}

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    paths.clear();
    char* text = webListInterfaces();
    std::wstring path;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c != '\n') {
            path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
            continue;
        }
        paths.push_back(path);
        path.clear();
    }
    if (!path.empty())
        paths.push_back(path);
    std::free(text);
    return true;
}

bool platformSamePath(const std::wstring& a, const std::wstring& b) {
    return a == b;
}

bool platformPeekIds(const std::wstring& path, std::uint16_t& vendorId, std::uint16_t& productId) {
    const int ids = webPeekIds(utf8(path).c_str());
    if (ids < 0)
        return false;
    vendorId = static_cast<std::uint16_t>(ids >> 16);
    productId = static_cast<std::uint16_t>(ids & 0xFFFF);
    return true;
}

// A browser tells nothing of where a device is plugged in.
std::wstring platformPortOf(const std::wstring&) {
    return {};
}

std::wstring platformInstanceOf(const std::wstring&) {
    return {};
}

bool platformIsPortName(const std::wstring&) {
    return false;
}

DeviceHandle platformOpenDevice(const std::wstring& path) {
    const int handle = webOpen(utf8(path).c_str());
    return handle > 0 ? handle : kNoDevice;
}

std::uint32_t platformInUseError() {
    return static_cast<std::uint32_t>(webInUseError());
}

bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId) {
    const int ids = webAttributes(static_cast<int>(device));
    if (ids < 0)
        return false;
    vendorId = static_cast<std::uint16_t>(ids >> 16);
    productId = static_cast<std::uint16_t>(ids & 0xFFFF);
    return true;
}

bool platformGetReportLengths(DeviceHandle device, std::uint32_t& outputLength,
                              std::uint32_t& inputLength) {
    const int output = webReportLength(static_cast<int>(device), 1);
    const int input = webReportLength(static_cast<int>(device), 0);
    if (output <= 0 || input <= 0)
        return false;
    outputLength = static_cast<std::uint32_t>(output);
    inputLength = static_cast<std::uint32_t>(input);
    return true;
}

void platformFlushInput(DeviceHandle device) {
    webFlush(static_cast<int>(device));
}

bool platformWriteReport(DeviceHandle device, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs) {
    return webWrite(static_cast<int>(device), report, static_cast<int>(length),
                    static_cast<int>(timeoutMs)) != 0;
}

bool platformReadReport(DeviceHandle device, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs) {
    const int handle = static_cast<int>(device);
    const int size = static_cast<int>(length);
    return webTakeQueued(handle, report, size) != 0 ||
           webRead(handle, report, size, static_cast<int>(timeoutMs)) != 0;
}

void platformCloseDevice(DeviceHandle device) {
    webClose(static_cast<int>(device));
}

std::uint32_t platformLastError() {
    return static_cast<std::uint32_t>(webLastError());
}

// The answer waited in the worker's queue, or reached the suspended core, some time before
// the core took it: the wait counts from its arrival. The waits' clock counts µs here.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle device, std::uint32_t ms) {
    const double arrived = webLastArrival(static_cast<int>(device));
    if (arrived < 0)
        return platformDeadline(ms);
    // Measured before the deadline is taken: time passing between the two only lengthens
    // the wait.
    const std::int64_t since =
        platformMicroseconds() - static_cast<std::int64_t>(std::floor(arrived * 1000.0));
    const WaitDeadline fromNow = platformDeadline(ms);
    return since > 0 ? fromNow - since : fromNow;
}

void platformSetLastError(std::uint32_t error) {
    webSetLastError(static_cast<int>(error));
}
