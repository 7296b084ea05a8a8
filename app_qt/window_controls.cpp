// The session's window operations on the Qt window's controls.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace {

QPlainTextEdit* hintBox() {
    return static_cast<QPlainTextEdit*>(control(IDC_HINT));
}

// The texts break lines with "\r\n", as the Windows edit control wants them; Qt's text
// controls with "\n".
QString displayed(const std::wstring& text) {
    return QString::fromStdWString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void windowSetTitle(const std::wstring& title) {
    mainWindow->setWindowTitle(QString::fromStdWString(title));
}

void windowEnd(int status) {
    mainWindow->done(status);
}

WindowFrame windowMainFrame() {
    // Qt's rectangles end on their last pixel.
    const QRect frame = mainWindow->frameGeometry();
    return {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
}

void windowSetHint(const std::wstring& text) {
    hintBox()->setPlainText(displayed(text));
}

std::wstring windowHint() {
    return hintBox()
        ->toPlainText()
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
        .toStdWString();
}

void windowSetText(int id, const std::wstring& text) {
    if (auto* label = qobject_cast<QLabel*>(control(id)))
        setLabelText(label, QString::fromStdWString(text));
}

void windowEnable(int id, bool enabled) {
    control(id)->setEnabled(enabled);
}

FeedbackWindow windowMain() {
    return mainWindow;
}

FeedbackWindow windowInFront() {
    return QApplication::activeWindow();
}

void windowRaise(FeedbackWindow window) {
    if (window != nullptr)
        static_cast<QWidget*>(window)->raise();
}

void windowShow(FeedbackWindow window) {
    if (window != nullptr)
        static_cast<QWidget*>(window)->show();
}

bool windowMessageBox(const std::wstring& text, const std::wstring& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const QMessageBox::Icon shown = icon == MessageIcon::Information ? QMessageBox::Information
                                    : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                     : QMessageBox::Critical;
    const QMessageBox::StandardButtons offered =
        buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
        : buttons == MessageButtons::YesNo  ? QMessageBox::Yes | QMessageBox::No
                                            : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(shown, QString::fromStdWString(caption), displayed(text), offered, mainWindow);
    box.setTextFormat(Qt::PlainText);
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}
