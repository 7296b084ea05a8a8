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

// How late the timer fires, learnt from the waits so far, in QPC ticks (under Wine it
// fires on whole milliseconds, 0.3 ms late on average). The timer is asked for that much
// less and a further quarter millisecond, and the rest of the wait is topped up below:
// measured under Wine, an update through the window then exceeds its waits by 0.3 %
// instead of 2.5 %, for about 2 % of one core while it runs.
thread_local LONGLONG timerLateness = 0;
constexpr LONGLONG kMarginUs = 250;

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

bool waitOnTimer(HANDLE timer, LONGLONG ticks, LONGLONG perMs) {
    LARGE_INTEGER due;
    due.QuadPart = -(ticks * 10000 / perMs + 1); // 100 ns units, relative
    if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        return false;
    return WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0;
}

void sleepAtOneMsPeriod(DWORD ms) {
    static auto begin = systemFunction<TimePeriodFn>(L"winmm.dll", "timeBeginPeriod");
    static auto end = systemFunction<TimePeriodFn>(L"winmm.dll", "timeEndPeriod");
    const bool raised = begin && end && begin(1) == 0;
    Sleep(ms);
    if (raised)
        end(1);
}

} // namespace

WaitDeadline platformDeadline(std::uint32_t ms) {
    return ticksNow() + ticksPerMs() * ms;
}

void platformWait(std::uint32_t ms) {
    if (ms != 0)
        platformWaitUntil(platformDeadline(ms));
}

void platformWaitUntil(WaitDeadline until) {
    const LONGLONG start = ticksNow();
    if (start >= until)
        return;
    const DWORD error = GetLastError();
    const LONGLONG perMs = ticksPerMs();
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    if (timer != nullptr) {
        const LONGLONG asked = (until - start) - timerLateness - perMs * kMarginUs / 1000;
        if (asked > 0 && waitOnTimer(timer, asked, perMs)) {
            const LONGLONG late = (ticksNow() - start) - asked;
            timerLateness += (late - timerLateness) / 8;
            if (timerLateness < 0)
                timerLateness = 0;
            if (timerLateness > 2 * perMs)
                timerLateness = 2 * perMs;
        }
        CloseHandle(timer);
    } else {
        sleepAtOneMsPeriod(static_cast<DWORD>((until - start) / perMs));
    }
    // Never shorter than asked: the rest of an early wake, a fraction of a millisecond.
    while (ticksNow() < until)
        SwitchToThread();
    SetLastError(error);
}
