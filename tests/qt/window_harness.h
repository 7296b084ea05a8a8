// The Qt main window against the simulated unit on its virtual clock, on Qt's offscreen
// platform, read back as a user sees it; message boxes answered from a script.
#pragma once

#include "app_qt/main_window.h"
#include "resources/resource_ids.h"
#include "sim/sim_unit.h"
#include "update/update_procedure.h"

#include <QMessageBox>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The window of the running test, its dialog, a control of it by template id, and its
// session.
extern QtWindow* shownWindow;
QDialog* dialog();
QWidget* control(int id);
inline Session& session() {
    return shownWindow->session();
}
// The language the window was started in, and a text in it.
inline std::wstring textOf(unsigned id) {
    return loadText(session().language(), id);
}

// A message box as the user saw it.
struct SeenBox {
    std::wstring caption, text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    bool transientForMain;
    Qt::WindowModality modality;
};

// Boxes are answered from this script (Ok, Cancel, Yes, No); an empty script answers Ok,
// or No where there is no Ok.
extern std::deque<QMessageBox::StandardButton> boxAnswers;
extern std::vector<SeenBox> boxesSeen;
// Runs inside each box before it is answered.
extern std::function<void(const SeenBox&)> whileBoxOpen;

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window in `language` and makes the first connection attempt, as the
    // program does.
    void start(Language language = Language::English);
    // Handles events until `done` holds; false after 20 s.
    static bool pumpUntil(const std::function<bool()>& done);

    static std::wstring text(int id);
    static bool enabled(int id);
    // The hint box as the user reads it, its line breaks as the session writes them.
    static std::wstring hint();
    static void press(int id);
    static std::wstring instructionsAfter(unsigned id) {
        return textOf(id) + L"\r\n\r\n" + textOf(IDS_HINT_INSTRUCTIONS);
    }
    // A unit on the simulated bus at a hidraw path.
    static int plugUnit(const SimUnitConfig& config = {}, int number = 3) {
        return simAddUnit(L"/dev/hidraw" + std::to_wstring(number), config);
    }
};
