#include "unitlink/unit_connection.h"

void closeUnit(UnitConnection& connection) {
    if (unitIsOpen(connection))
        platformCloseDevice(connection.handle);
    const WireTrace* trace = connection.trace;
    connection = UnitConnection{};
    connection.trace = trace;
}

bool isUnit(std::uint16_t vendorId, std::uint16_t productId) {
    return vendorId == kUnitVendorId &&
           (productId == kProductDockpad || productId == kProductDockBox);
}

// Opens and identifies the interface at `path` if it is a unit; false when it is none or
// cannot be opened.
static bool openIfUnit(UnitConnection& connection, const std::wstring& path, std::int32_t& result) {
    DeviceHandle device = platformOpenDevice(path);
    if (device == kNoDevice)
        return false;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    if (!platformGetAttributes(device, vendorId, productId) || !isUnit(vendorId, productId)) {
        platformCloseDevice(device);
        return false;
    }
    connection.productId = productId;
    connection.handle = device;
    connection.devicePath = path;
    platformFlushInput(device);
    result = identifyUnit(connection);
    return true;
}

// The first unit in enumeration order, or only the one at `onlyPath` when it is not empty.
static std::int32_t openListedUnit(UnitConnection& connection, const std::wstring& onlyPath) {
    closeUnit(connection);

    std::vector<std::wstring> paths;
    if (!platformListHidInterfaces(paths))
        return kExchangeRefused;

    std::int32_t result = kNoUnitFound;
    for (const std::wstring& path : paths)
        if ((onlyPath.empty() || platformSamePath(path, onlyPath)) &&
            openIfUnit(connection, path, result))
            return result;
    return kNoUnitFound;
}

std::int32_t openUnit(UnitConnection& connection) {
    return openListedUnit(connection, {});
}

std::int32_t openUnitAt(UnitConnection& connection, const std::wstring& path) {
    return path.empty() ? kNoUnitFound : openListedUnit(connection, path);
}
