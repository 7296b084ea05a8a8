#include "tests/windows/app/dialog_harness.h"

#include "app/window_thread.h"

#include <dbt.h>

#include <cwchar>

std::deque<int> boxAnswers;
std::vector<SeenBox> boxesSeen;
std::function<void(const SeenBox&)> whileBoxOpen;

namespace {

HHOOK hook = nullptr;

std::wstring windowText(HWND window) {
    wchar_t buffer[4096];
    int n = GetWindowTextW(window, buffer, 4096);
    return std::wstring(buffer, n > 0 ? n : 0);
}

// Seen when the box has initialised, whether or not it becomes the active window: with
// tests in parallel on one display, activation may go elsewhere.
LRESULT CALLBACK answerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        HWND box = call->hwnd;
        wchar_t className[32];
        GetClassNameW(box, className, 32);
        if (windowOf(box) == nullptr && std::wstring(className) == L"#32770") {
            SeenBox seen{windowText(box), windowText(GetDlgItem(box, 0xFFFF)),
                         GetWindow(box, GW_OWNER), GetWindowLongW(box, GWL_STYLE)};
            boxesSeen.push_back(seen);
            if (whileBoxOpen)
                whileBoxOpen(seen);
            int answer = IDOK;
            if (!boxAnswers.empty()) {
                answer = boxAnswers.front();
                boxAnswers.pop_front();
            } else if (GetDlgItem(box, IDNO) != nullptr) {
                answer = IDNO;
            }
            PostMessageW(box, WM_COMMAND, answer, 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT notify(HWND dialog, WPARAM event, const std::wstring& path, DWORD deviceType) {
    std::vector<BYTE> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + path.size() * 2 + 2, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    record->dbcc_size = static_cast<DWORD>(buffer.size());
    record->dbcc_devicetype = deviceType;
    wcscpy(record->dbcc_name, path.c_str());
    // The dialog procedure's own result; through the dialog manager it would be lost.
    return mainDialogProc(dialog, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record));
}

} // namespace

namespace {

// The progress bar's window class comes with the common controls.
class CommonControls : public ::testing::Environment {
    void SetUp() override { initCommonControls(); }
};
const auto* const commonControls = ::testing::AddGlobalTestEnvironment(new CommonControls);

} // namespace

void DialogTest::SetUp() {
    simReset();
    boxAnswers.clear();
    boxesSeen.clear();
    whileBoxOpen = nullptr;
    front = std::make_unique<Win32Window>(GetModuleHandleW(nullptr));
    hook = SetWindowsHookExW(WH_CALLWNDPROCRET, answerBoxes, nullptr, GetCurrentThreadId());
}

void DialogTest::TearDown() {
    pumpUntil([this] { return !session().updateRunning(); });
    if (dialog != nullptr && IsWindow(dialog))
        DestroyWindow(dialog);
    front->stopDeviceChanges();
    front.reset();
    UnhookWindowsHookEx(hook);
}

void DialogTest::start() {
    dialog = CreateDialogParamW(front->instance(), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                mainDialogProc, reinterpret_cast<LPARAM>(front.get()));
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    pump();
}

void DialogTest::pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool DialogTest::pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        pump();
    }
    return true;
}

std::wstring DialogTest::text(int control) const {
    return windowText(control == 0 ? dialog : GetDlgItem(dialog, control));
}

bool DialogTest::enabled(int control) const {
    return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE;
}

LRESULT DialogTest::arrive(const std::wstring& path, DWORD deviceType) {
    return notify(dialog, DBT_DEVICEARRIVAL, path, deviceType);
}

LRESULT DialogTest::remove(const std::wstring& path, DWORD deviceType) {
    return notify(dialog, DBT_DEVICEREMOVECOMPLETE, path, deviceType);
}

HWND DialogTest::ownProgressWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t className[64];
            GetClassNameW(window, className, 64);
            if (std::wstring(className) != L"msctls_progress32")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void DialogTest::press(int control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}
