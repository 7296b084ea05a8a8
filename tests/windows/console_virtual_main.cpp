// The terminal edition's console program with the demo unit on the virtual clock, so that
// a whole update under Wine takes no real 46 seconds.
#include "platform/win32/system_library.h"
#include "sim/sim_unit.h"
#include "terminal/win32/run_program.h"

#include <string>

int wmain(int argc, wchar_t** argv) {
    restrictDllSearchToSystem();
    simReset();
    if (!std::wstring(argc > 1 ? argv[1] : L"").empty() && std::wstring(argv[1]) == L"--no-unit")
        return runTerminalProgram(argc - 1, argv + 1);
    simAddDemoUnit(L"\\\\?\\hid#vid_1f4b&pid_0002#test#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    return runTerminalProgram(argc, argv);
}
