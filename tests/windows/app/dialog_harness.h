// The real main dialog from template 110 against the simulated unit, driven as the
// platform drives it, and read back as a user sees it.
#pragma once

#include "app/main_dialog.h"
#include "resources/resource_ids.h"
#include "sim/sim_unit.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A message box as the user saw it.
struct SeenBox {
    std::wstring caption, text;
    HWND owner;
    LONG style;
};

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh bus, record and dialog, for the next case of a loop.
    void restart() {
        TearDown();
        dialog = nullptr;
        SetUp();
    }
    // Creates the dialog; WM_INITDIALOG makes the first connection attempt.
    void start();
    // Handles pending messages until `done` holds or `ms` pass; false on time-out.
    static bool pumpUntil(const std::function<bool()>& done, DWORD ms = 20000);
    static void pump();

    std::wstring text(int control) const;
    bool enabled(int control) const;
    std::wstring hint() const { return text(IDC_HINT); }
    LRESULT arrive(const std::wstring& path, DWORD deviceType = 5);
    LRESULT remove(const std::wstring& path, DWORD deviceType = 5);
    void press(int control);

    static std::wstring loadIn(UINT id) { return loadText(interfaceLanguage(), id); }
    static std::wstring instructionsAfter(UINT id) {
        return loadIn(id) + L"\r\n\r\n" + loadIn(IDS_HINT_INSTRUCTIONS);
    }

    // The progress window of this test's own thread, or null: other test programs on the
    // same display have theirs.
    static HWND ownProgressWindow();

    Session& session() { return front->session(); }
    bool unitOpen() { return !session().view().device.empty(); }

    std::unique_ptr<Win32Window> front;
    HWND dialog = nullptr;
};

// Message boxes are answered from this script (IDOK, IDYES, IDNO, IDCANCEL) and recorded;
// an empty script answers IDOK, or IDYES/IDNO boxes with IDNO.
extern std::deque<int> boxAnswers;
extern std::vector<SeenBox> boxesSeen;
// Runs inside each message box before it is answered.
extern std::function<void(const SeenBox&)> whileBoxOpen;

inline const wchar_t* kUnitPath =
    L"\\\\?\\HID#VID_1F4B&PID_0002#7&2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
