// The main dialog and the process-wide handles of the user interface.
#pragma once

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

// A text of the string table in the interface language.
std::wstring loadString(UINT id);
void setHint(const std::wstring& text);
void enableUpdateButton(bool enabled);

// Logo: placed right of the version group, at most half the bitmap's width.
struct LogoPlace {
    int x, y, width, height;
};
LogoPlace logoPlace(const RECT& window, const RECT& group, int bitmapWidth, int bitmapHeight,
                    int frameWidth, int captionHeight);
void paintLogo(HWND window);

// Connection state and hot-plug.
enum class ConnectionOutcome {
    NoUnit,
    UnitWrongMode,
    NoUpdatableEsc,
    EscIncompatible,
    ReadyToUpdate
};
ConnectionOutcome connectionOutcome(int openResult);
void showConnectionState(int openResult);
void appendInstructions();
LRESULT onDeviceChange(WPARAM event, LPARAM data);
// Shows a message box during which device notifications wait until it is closed.
int messageBoxHoldingNotifications(const std::wstring& text, const std::wstring& caption,
                                   UINT type);
// Handles the notifications that waited, once nothing holds them any more.
void processHeldNotifications();

// Version display.
std::wstring longVersionForm(std::uint32_t version);
std::wstring unitVersionText(std::uint32_t version);
std::wstring escVersionText(std::uint16_t version);
void refreshVersions();

// The Update button: confirmations here, the rest on a worker thread.
void startUpdate();
bool updateRunning();
// The progress window's top-left corner, centred on the main dialog.
POINT progressWindowPlace(const RECT& dialog);
