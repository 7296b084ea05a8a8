// How the update's worker thread reaches the Win32 window.
#pragma once

#include <windows.h>

constexpr UINT kRunOnUserInterface = WM_APP + 1; // lParam: the std::function to run
constexpr UINT kUpdateEnded = WM_APP + 2;
