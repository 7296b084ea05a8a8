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

// How late the timer fires, learnt from the waits so far, in QPC ticks. Asking for half
// that much less shortens the average wait; an early wake is topped up below. Asking for
// the whole of it gets closer still, but tops up so often that the spinning costs more
// CPU than the time it saves.
LONGLONG timerLateness = 0;

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

void platformWait(std::uint32_t ms) {
    if (ms == 0)
        return;
    const DWORD error = GetLastError();
    const LONGLONG perMs = ticksPerMs();
    const LONGLONG start = ticksNow();
    const LONGLONG until = start + perMs * ms;
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    if (timer != nullptr) {
        const LONGLONG asked = perMs * ms - timerLateness / 2;
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
        sleepAtOneMsPeriod(ms);
    }
    // Never shorter than asked: the rest of an early wake, a fraction of a millisecond.
    while (ticksNow() < until)
        SwitchToThread();
    SetLastError(error);
}
