#include "unitlink/unit_connection.h"

void closeUnit(UnitConnection& connection) {
    if (unitIsOpen(connection))
        platformCloseDevice(connection.handle);
    connection = UnitConnection{};
}

static bool isUnit(std::uint16_t vendorId, std::uint16_t productId) {
    return vendorId == kUnitVendorId &&
           (productId == kProductDockpad || productId == kProductDockBox);
}

std::int32_t openUnit(UnitConnection& connection) {
    closeUnit(connection);

    std::vector<std::wstring> paths;
    if (!platformListHidInterfaces(paths))
        return kExchangeRefused;

    for (const std::wstring& path : paths) {
        DeviceHandle device = platformOpenDevice(path);
        if (device == kNoDevice)
            continue;
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        if (!platformGetAttributes(device, vendorId, productId) || !isUnit(vendorId, productId)) {
            platformCloseDevice(device);
            continue;
        }
        // The first unit in enumeration order wins.
        connection.productId = productId;
        connection.handle = device;
        connection.devicePath = path;
        platformFlushInput(device);
        return identifyUnit(connection);
    }
    return kNoUnitFound;
}
