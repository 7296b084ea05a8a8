// What each platform gives the one wait of platform/wait/wait.cpp: its monotonic clock, its
// timer and its way to spin. platform/linux, platform/win32 and platform/web implement it.
#pragma once

#include "platform/timer_lateness.h"

#include <cstdint>

// Now, in the clock's own units (ns on Linux, QPC ticks on Windows, µs in a browser).
std::int64_t clockNow();
std::int64_t clockUnitsPerMs();
// How much before it came a moment may be shown (a browser coarsens its clock): a deadline
// that much further is never reached early.
std::int64_t clockStep();
LatenessRule clockLatenessRule();
// Sleeps on the platform's timer toward `at` (a moment to come), and returns the moment it
// aimed for (the timer may aim coarser than asked), or kNotAimed where it slept without a
// timer whose lateness can be learnt.
constexpr std::int64_t kNotAimed = INT64_MIN;
std::int64_t clockSleepToward(std::int64_t at);
// One turn of the final spin, giving the core away where the platform can.
void clockYield();
// Where the next report written can itself wait out `deadline` (a browser's worker, whose
// way from the wait to the device is long against the wait's precision), hands it over
// and returns the moment the wait may end, a little before; elsewhere `deadline`.
std::int64_t clockHandOver(std::int64_t deadline);
// The end of the last wait handed over, from which a deadline taken before it counts, so
// that waits in a row add up; INT64_MIN where nothing is handed over.
std::int64_t clockHandedOverEnd();
// The thread's last-error value (errno, GetLastError; in a browser errno, beside the
// WebHID script's own last error, which no clock call touches), taken and given back: a
// wait keeps it, whatever the clock's calls do to it.
std::uint64_t clockLastError();
void clockRestoreError(std::uint64_t error);
