#include "platform/win32/hid_class.h"

#include "platform/win32/system_library.h"

GUID hidInterfaceClass() {
    using GetHidGuidFn = void(__stdcall*)(GUID*);
    static const GUID hidClass = [] {
        GUID guid{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
        if (auto getHidGuid = systemFunction<GetHidGuidFn>(L"hid.dll", "HidD_GetHidGuid"))
            getHidGuid(&guid);
        return guid;
    }();
    return hidClass;
}
