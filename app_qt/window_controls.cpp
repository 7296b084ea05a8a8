// The session's window operations on the Qt window's controls.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace {

QPlainTextEdit* hintBox(QDialog* window) {
    return static_cast<QPlainTextEdit*>(control(window, IDC_HINT));
}

// The texts break lines with "\r\n", as the Windows edit control wants them; Qt's text
// controls with "\n".
QString displayed(const std::wstring& text) {
    return QString::fromStdWString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void setText(QDialog* window, int id, const std::wstring& text) {
    if (auto* label = qobject_cast<QLabel*>(control(window, id)))
        setLabelText(label, QString::fromStdWString(text));
}

} // namespace

void QtWindow::render(const SessionView& view) {
    for (const ControlChange& change : controlChanges(shown_ ? &*shown_ : nullptr, view)) {
        if (change.control == kTitleControl)
            dialog_->setWindowTitle(QString::fromStdWString(change.text));
        else if (change.control == IDC_HINT)
            hintBox(dialog_)->setPlainText(displayed(change.text));
        else if (change.isText)
            setText(dialog_, change.control, change.text);
        else
            control(dialog_, change.control)->setEnabled(change.enabled);
    }
    shown_ = view;
}

void QtWindow::end(EndStatus status) {
    dialog_->done(status);
}

WindowFrame QtWindow::mainFrame() {
    // Qt's rectangles end on their last pixel.
    const QRect frame = dialog_->frameGeometry();
    return {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
}

FeedbackWindow QtWindow::mainWindow() {
    return dialog_;
}

FeedbackWindow QtWindow::inFront() {
    return QApplication::activeWindow();
}

void QtWindow::raise(FeedbackWindow window) {
    if (window != nullptr)
        static_cast<QWidget*>(window)->raise();
}

void QtWindow::show(FeedbackWindow window) {
    if (window != nullptr)
        static_cast<QWidget*>(window)->show();
}

bool QtWindow::ask(const Box& b) {
    const QMessageBox::Icon shown = b.icon == MessageIcon::Information ? QMessageBox::Information
                                    : b.icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                       : QMessageBox::Critical;
    const QMessageBox::StandardButtons offered =
        b.buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
        : b.buttons == MessageButtons::YesNo  ? QMessageBox::Yes | QMessageBox::No
                                              : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(shown, QString::fromStdWString(b.caption), displayed(b.text), offered, dialog_);
    box.setTextFormat(Qt::PlainText);
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}
