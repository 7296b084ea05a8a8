#include "unitlink/unit_list.h"

#include "unitlink/unit_connection.h"

bool listUnits(std::vector<ListedUnit>& units) {
    units.clear();
    std::vector<std::wstring> paths;
    if (!platformListHidInterfaces(paths))
        return false;
    for (const std::wstring& path : paths) {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        const DeviceHandle device = platformOpenDevice(path);
        if (device == kNoDevice) {
            const bool inUse = platformLastError() == platformInUseError();
            if (platformPeekIds(path, vendorId, productId) && isUnit(vendorId, productId))
                units.push_back({path, productId, false, inUse, platformPortOf(path),
                                 platformInstanceOf(path)});
            continue;
        }
        const bool named = platformGetAttributes(device, vendorId, productId);
        platformCloseDevice(device);
        if (named && isUnit(vendorId, productId))
            units.push_back({path, productId, true, false, platformPortOf(path),
                             platformInstanceOf(path)});
    }
    return true;
}
