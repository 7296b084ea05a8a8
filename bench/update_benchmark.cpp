// Runs one whole update against the simulated unit in real time, the unit answering at
// once, and prints how far the run exceeds its fixed waits and how much CPU it used.
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
static double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}
#else
static double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}
#endif

std::wstring loadText(Language, unsigned) {
    return {};
}
Language interfaceLanguage() {
    return Language::English;
}

int main() {
    simReset();
    simSetRealTime(true);
    simSetFirmwareImage(standInImage());
    simAddUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#benchmark");
    // The benchmark's feedback: every confirmation accepted, nothing shown.
    bool succeeded = false;
    UpdateFeedback feedback;
    feedback.confirm = [](Confirmation, const std::wstring&, const std::wstring&) { return true; };
    feedback.openProgress = [] { return FeedbackWindow{}; };
    feedback.setProgress = [](FeedbackWindow, std::uint32_t, std::uint32_t) {};
    feedback.keepOnTop = [](FeedbackWindow, FeedbackWindow&) {};
    feedback.closeProgress = [](FeedbackWindow) {};
    feedback.reportFailure = [](const std::wstring&, const std::wstring&, std::int32_t code,
                                std::uint32_t lastError) {
        std::printf("update failed: 0x%08x-0x%08x\n", static_cast<unsigned>(code), lastError);
    };
    feedback.reportSuccess = [&] { succeeded = true; };
    UnitConnection unit;
    if (openUnit(unit) != 0) {
        std::printf("the simulated unit did not identify\n");
        return 1;
    }
    const std::size_t blocks = blockCount(kStandInImageBytes);
    const double fixedMs = 4.0 * kStepWaitMs + 1000.0 + kAfterEraseWaitMs + blocks * kStepWaitMs;

    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    runUpdate(unit, Language::English, feedback);
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double cpuMs = (cpuSeconds() - cpuBefore) * 1000.0;
    closeUnit(unit);
    if (!succeeded)
        return 1;

    std::printf("blocks:          %zu\n", blocks);
    std::printf("wall time:       %.1f ms\n", wallMs);
    std::printf("fixed waits:     %.0f ms\n", fixedMs);
    std::printf("overhead:        %.1f ms (%.2f %%)\n", wallMs - fixedMs,
                100.0 * (wallMs - fixedMs) / fixedMs);
    std::printf("CPU time:        %.1f ms (%.2f %% of the wall time)\n", cpuMs,
                100.0 * cpuMs / wallMs);
    return 0;
}
