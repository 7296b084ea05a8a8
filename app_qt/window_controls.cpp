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

// Only what changed is set again: a repeated hint would scroll back to its top.
void QtWindow::render(const SessionView& view) {
    const SessionView* was = shown_ ? &*shown_ : nullptr;
    auto text = [&](int id, const std::wstring& now, const std::wstring* before) {
        if (before == nullptr || *before != now)
            setText(dialog_, id, now);
    };
    if (was == nullptr || was->title != view.title)
        dialog_->setWindowTitle(QString::fromStdWString(view.title));
    text(IDC_UNIT_LABEL, view.unitLabel, was ? &was->unitLabel : nullptr);
    text(IDC_BOOTLOADER_LABEL, view.bootloaderLabel, was ? &was->bootloaderLabel : nullptr);
    text(IDC_ESC_LABEL, view.escLabel, was ? &was->escLabel : nullptr);
    text(IDC_UNIT_VERSION, view.unitVersion, was ? &was->unitVersion : nullptr);
    text(IDC_BOOTLOADER_VERSION, view.bootloaderVersion, was ? &was->bootloaderVersion : nullptr);
    text(IDC_ESC_VERSION, view.escVersion, was ? &was->escVersion : nullptr);
    if (was == nullptr || was->versionsEnabled != view.versionsEnabled)
        for (int id : {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION, IDC_UNIT_LABEL,
                       IDC_BOOTLOADER_LABEL, IDC_ESC_LABEL})
            control(dialog_, id)->setEnabled(view.versionsEnabled);
    if (was == nullptr || was->hint != view.hint)
        hintBox(dialog_)->setPlainText(displayed(view.hint));
    if (was == nullptr || was->updateEnabled != view.updateEnabled)
        control(dialog_, IDC_UPDATE)->setEnabled(view.updateEnabled);
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
