// How the update's worker thread reaches the user interface.
#pragma once

#include <windows.h>

#include <functional>

constexpr UINT kRunOnUserInterface = WM_APP + 1; // lParam: the std::function to run
constexpr UINT kUpdateEnded = WM_APP + 2;

// Runs `work` on the user-interface thread and returns when it is done.
void runOnUserInterface(const std::function<void()>& work);
// The runner's own messages to the main dialog; false for any other message.
bool handleUpdateMessage(UINT message, LPARAM lParam);
