#include "app/main_dialog.h"
#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"

LogoPlace logoPlace(const RECT& window, const RECT& group, int bitmapWidth, int bitmapHeight,
                    int frameWidth, int captionHeight) {
    // Client coordinates: the frame and the caption taken from the system metrics.
    const int clientLeft = window.left + frameWidth;
    return logoPlace(window.right - clientLeft, group.right - clientLeft,
                     group.top - window.top - captionHeight, bitmapWidth, bitmapHeight);
}

void paintLogo(HWND window, HINSTANCE instance) {
    using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    static auto transparentBlt = systemFunction<TransparentBltFn>(L"msimg32.dll", "TransparentBlt");

    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    HBITMAP logo = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_LOGO));
    if (logo != nullptr && transparentBlt != nullptr) {
        BITMAP info{};
        GetObjectW(logo, sizeof info, &info);
        HDC memory = CreateCompatibleDC(context);
        HGDIOBJ previous = SelectObject(memory, logo);
        RECT windowRect;
        RECT groupRect;
        GetWindowRect(window, &windowRect);
        GetWindowRect(GetDlgItem(window, IDC_VERSION_GROUP), &groupRect);
        const LogoPlace place =
            logoPlace(windowRect, groupRect, info.bmWidth, info.bmHeight,
                      GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYCAPTION));
        if (logoFits(place))
            transparentBlt(context, place.x, place.y, place.width, place.height, memory, 0, 0,
                           info.bmWidth, info.bmHeight, asColorRef(kLogoTransparentColour));
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    if (logo != nullptr)
        DeleteObject(logo);
    EndPaint(window, &paint);
}
