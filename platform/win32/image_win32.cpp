// The firmware image travels as a data resource of the executable itself.
#include "platform/platform.h"
#include "resources/resource_ids.h"

#include <windows.h>

bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(self, MAKEINTRESOURCEW(IDR_FIRMWARE_IMAGE), RT_RCDATA);
    if (resource == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(self, resource);
    if (loaded == nullptr)
        return false;
    data = static_cast<const std::uint8_t*>(LockResource(loaded));
    length = SizeofResource(self, resource);
    return data != nullptr;
}
