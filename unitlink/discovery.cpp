#include "unitlink/unit_connection.h"

void closeUnit(UnitConnection& connection) {
    if (unitIsOpen(connection))
        platformCloseDevice(connection.handle);
    connection = UnitConnection{};
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

std::int32_t openUnit(UnitConnection& connection) {
    closeUnit(connection);

    std::vector<std::wstring> paths;
    if (!platformListHidInterfaces(paths))
        return kExchangeRefused;

    std::int32_t result = kNoUnitFound;
    for (const std::wstring& path : paths)
        if (openIfUnit(connection, path, result))
            return result; // the first unit in enumeration order wins
    return kNoUnitFound;
}

std::int32_t openUnitAt(UnitConnection& connection, const std::wstring& path) {
    closeUnit(connection);

    std::vector<std::wstring> paths;
    if (!platformListHidInterfaces(paths))
        return kExchangeRefused;

    std::int32_t result = kNoUnitFound;
    for (const std::wstring& listed : paths)
        if (listed == path && openIfUnit(connection, listed, result))
            return result;
    return kNoUnitFound;
}
