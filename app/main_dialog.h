// The Win32 window: the main dialog and the process-wide handles of the user interface.
// What it shows and when is the session's (session/session.h).
#pragma once

#include "session/session.h"

#include <windows.h>

#include <cstdint>
#include <string>

extern HINSTANCE moduleInstance;
extern HWND mainDialog;
extern HDEVNOTIFY deviceNotification;

// Registers the common controls' window classes, the progress bar's among them.
void initCommonControls();
// The whole program: shows the main dialog modally until it is closed.
int runApplication(HINSTANCE instance);

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void initMainDialog(HWND window);

// A session colour (0xRRGGBB) as GDI takes it.
inline COLORREF asColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A text of the string table in the interface language.
std::wstring loadString(UINT id);

// The logo's place from the screen rectangles of the dialog and its version group.
LogoPlace logoPlace(const RECT& window, const RECT& group, int bitmapWidth, int bitmapHeight,
                    int frameWidth, int captionHeight);
void paintLogo(HWND window);

// WM_DEVICECHANGE: arrivals and removals of HID interfaces go to the session.
LRESULT onDeviceChange(WPARAM event, LPARAM data);
