#include "tests/qt/window_harness.h"

#include "update/update_procedure.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cstdlib>

QtWindow* shownWindow = nullptr;
std::deque<QMessageBox::StandardButton> boxAnswers;
std::vector<SeenBox> boxesSeen;
std::function<void(const SeenBox&)> whileBoxOpen;

namespace {

QMessageBox* answering = nullptr;

// Called often while anything runs: answers the message box that is open, once.
void answerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box == answering || !box->isVisible())
        return;
    answering = box;
    const SeenBox seen{box->windowTitle().toStdWString(),
                       box->text().toStdWString(),
                       box->icon(),
                       box->standardButtons(),
                       box->windowHandle() != nullptr &&
                           box->windowHandle()->transientParent() == dialog()->windowHandle(),
                       box->windowModality()};
    boxesSeen.push_back(seen);
    if (whileBoxOpen)
        whileBoxOpen(seen);
    QMessageBox::StandardButton answer =
        seen.buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
    if (!boxAnswers.empty()) {
        answer = boxAnswers.front();
        boxAnswers.pop_front();
    }
    box->button(answer)->click();
}

} // namespace

QDialog* dialog() {
    return shownWindow->dialog();
}

QWidget* control(int id) {
    return control(dialog(), id);
}

void WindowTest::SetUp() {
    simReset();
    boxAnswers.clear();
    boxesSeen.clear();
    whileBoxOpen = nullptr;
    answering = nullptr;
}

void WindowTest::TearDown() {
    if (shownWindow != nullptr) {
        pumpUntil([] { return !session().updateRunning(); });
        delete shownWindow;
        shownWindow = nullptr;
    }
}

void WindowTest::start(Language language) {
    shownWindow = new QtWindow(language);
    dialog()->show();
    session().start(true);
}

std::wstring WindowTest::hint() {
    return static_cast<QPlainTextEdit*>(control(IDC_HINT))
        ->toPlainText()
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
        .toStdWString();
}

bool WindowTest::pumpUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 20000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

std::wstring WindowTest::text(int id) {
    QWidget* widget = control(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdWString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdWString();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title().toStdWString();
    return hint();
}

bool WindowTest::enabled(int id) {
    return control(id)->isEnabled();
}

void WindowTest::press(int id) {
    static_cast<QPushButton*>(control(id))->click();
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QTimer boxes;
    QObject::connect(&boxes, &QTimer::timeout, answerOpenBox);
    boxes.start(5);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
