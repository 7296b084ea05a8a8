// Waits that last what they say. Sleep rounds up to the timer tick (15.6 ms by default),
// which would stretch an update's 2,038 block waits by half; a high-resolution waitable
// timer does not. Where there is none, the system timer is set to 1 ms for the wait.
#include "platform/platform.h"
#include "platform/win32/system_library.h"

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

using TimePeriodFn = UINT(__stdcall*)(UINT);

LONGLONG ticksNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG ticksPerMs() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart / 1000;
}

bool waitOnTimer(HANDLE timer, LONGLONG hundredNs) {
    LARGE_INTEGER due;
    due.QuadPart = -hundredNs;
    if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        return false;
    return WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0;
}

void sleepAtOneMsPeriod(DWORD ms) {
    static auto begin = systemFunction<TimePeriodFn>(L"winmm.dll", "timeBeginPeriod");
    static auto end = systemFunction<TimePeriodFn>(L"winmm.dll", "timeEndPeriod");
    bool raised = begin && end && begin(1) == 0;
    Sleep(ms);
    if (raised)
        end(1);
}

} // namespace

void platformWait(std::uint32_t ms) {
    if (ms == 0)
        return;
    const DWORD error = GetLastError();
    const LONGLONG perMs = ticksPerMs();
    const LONGLONG until = ticksNow() + perMs * ms;
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    // A timer may fire a little early; top up until the full time has passed.
    for (LONGLONG left = until - ticksNow(); left > 0; left = until - ticksNow()) {
        LONGLONG hundredNs = left * 10000 / perMs + 1;
        if (timer == nullptr || !waitOnTimer(timer, hundredNs))
            sleepAtOneMsPeriod(static_cast<DWORD>((hundredNs + 9999) / 10000));
    }
    if (timer != nullptr)
        CloseHandle(timer);
    SetLastError(error);
}
