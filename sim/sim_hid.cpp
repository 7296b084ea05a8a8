// The platform's HID functions, served by the simulated bus.
#include "platform/platform.h"
#include "platform/port_name.h"
#include "sim/sim_state.h"

namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;

SimDevice* deviceOf(DeviceHandle handle) {
    auto it = simBus.handles.find(handle);
    return it == simBus.handles.end() ? nullptr : &simBus.devices[it->second];
}

bool fail(std::uint32_t error) {
    simLastError = error;
    return false;
}

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    paths.clear();
    if (!simBus.listAvailable)
        return fail(kErrorInvalidParameter);
    for (const SimDevice& device : simBus.devices)
        if (device.present)
            paths.push_back(device.path);
    return true;
}

// As the simulated platform spells them: Windows interface paths ("\\?\hid#...")
// without regard to A-Z case, device nodes exactly.
bool platformSamePath(const std::wstring& a, const std::wstring& b) {
    auto lower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    const bool windowsPaths = a.rfind(L"\\\\?\\", 0) == 0 && b.rfind(L"\\\\?\\", 0) == 0;
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (windowsPaths ? lower(a[i]) != lower(b[i]) : a[i] != b[i])
            return false;
    return true;
}

bool platformPeekIds(const std::wstring& path, std::uint16_t& vendorId, std::uint16_t& productId) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    for (const SimDevice& device : simBus.devices)
        if (device.present && device.path == path) {
            vendorId = device.vendorId;
            productId = device.productId;
            return true;
        }
    return false;
}

std::wstring platformPortOf(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    for (const SimDevice& device : simBus.devices)
        if (device.present && device.path == path)
            return device.config.port;
    return {};
}

std::wstring platformInstanceOf(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    for (std::size_t i = 0; i < simBus.devices.size(); ++i)
        if (simBus.devices[i].present && simBus.devices[i].path == path)
            return std::to_wstring(i);
    return {};
}

bool platformIsPortName(const std::wstring& port) {
    return isPortPath(port);
}

DeviceHandle platformOpenDevice(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    for (std::size_t i = 0; i < simBus.devices.size(); ++i) {
        const SimDevice& device = simBus.devices[i];
        if (!device.present || device.path != path)
            continue;
        if (!device.openable) {
            simLastError = 5; // ERROR_ACCESS_DENIED
            return kNoDevice;
        }
        for (const auto& open : simBus.handles)
            if (open.second == static_cast<int>(i)) {
                simLastError = kSimErrorBusy;
                return kNoDevice;
            }
        DeviceHandle handle = simBus.nextHandle++;
        simBus.handles[handle] = static_cast<int>(i);
        return handle;
    }
    simLastError = kSimErrorFileNotFound;
    return kNoDevice;
}

bool platformGetAttributes(DeviceHandle handle, std::uint16_t& vendorId, std::uint16_t& productId) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr || !device->present || !device->attributesReadable)
        return fail(kSimErrorNotConnected);
    vendorId = device->vendorId;
    productId = device->productId;
    return true;
}

bool platformGetReportLengths(DeviceHandle handle, std::uint32_t& outputLength,
                              std::uint32_t& inputLength) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    SimDevice* device = deviceOf(handle);
    if (device == nullptr || !device->present || !device->capabilitiesReadable)
        return fail(kSimErrorNotConnected);
    outputLength = device->config.outputReportLength;
    inputLength = device->config.inputReportLength;
    return true;
}

void platformFlushInput(DeviceHandle handle) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    if (SimDevice* device = deviceOf(handle))
        device->pending.clear();
}

bool platformWriteReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length,
                         std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> held(simBus.lock);
    auto it = simBus.handles.find(handle);
    if (it == simBus.handles.end())
        return fail(kErrorInvalidHandle);
    return simTakeRequest(it->second, report, length, timeoutMs, held);
}

bool platformReadReport(DeviceHandle handle, std::uint8_t* report, std::size_t length,
                        std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> held(simBus.lock);
    auto it = simBus.handles.find(handle);
    if (it == simBus.handles.end())
        return fail(kErrorInvalidHandle);
    const SimAnswerResult result = simGiveAnswer(it->second, report, length, timeoutMs, held);
    if (result == SimAnswerResult::NotReady)
        return fail(kSimErrorTimeout);
    return result == SimAnswerResult::Answered;
}

void platformCloseDevice(DeviceHandle handle) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    simBus.handles.erase(handle);
}

std::uint32_t platformInUseError() {
    return kSimErrorBusy;
}

std::uint32_t platformLastError() {
    return simLastError;
}

// A read returns as its report arrives.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle, std::uint32_t ms) {
    return platformDeadline(ms);
}

void platformSetLastError(std::uint32_t error) {
    simLastError = error;
}
