// The session's window operations on the Qt window's controls.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace {

const int kVersionControls[] = {IDC_UNIT_VERSION, IDC_BOOTLOADER_VERSION, IDC_ESC_VERSION,
                                IDC_UNIT_LABEL,   IDC_BOOTLOADER_LABEL,   IDC_ESC_LABEL};

QLabel* label(int id) {
    return static_cast<QLabel*>(control(id));
}

QPlainTextEdit* hintBox() {
    return static_cast<QPlainTextEdit*>(control(IDC_HINT));
}

// The texts break lines with "\r\n", as the Windows edit control wants them; Qt's text
// controls with "\n".
QString displayed(const std::wstring& text) {
    return QString::fromStdWString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void windowSetHint(const std::wstring& text) {
    hintBox()->setPlainText(displayed(text));
}

std::wstring windowHint() {
    return hintBox()
        ->toPlainText()
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
        .toStdWString();
}

void windowEnableUpdate(bool enabled) {
    control(IDC_UPDATE)->setEnabled(enabled);
}

void windowSetVersion(VersionField field, const std::wstring& text) {
    label(kVersionControls[static_cast<int>(field)])->setText(QString::fromStdWString(text));
}

void windowSetUnitLabel(const std::wstring& text) {
    setLabelText(label(IDC_UNIT_LABEL), QString::fromStdWString(text));
}

void windowEnableVersionRows(bool enabled) {
    for (int id : kVersionControls)
        control(id)->setEnabled(enabled);
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
