// The Qt window as a screen reader reads it. Windows names an edit control after the
// static text in front of it and reads a dialog in template order; here the relations and
// the order are made explicit.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>

namespace {

// Row name, then its value: unit, bootloader, controller.
const int kRows[][2] = {{IDC_UNIT_LABEL, IDC_UNIT_VERSION},
                        {IDC_BOOTLOADER_LABEL, IDC_BOOTLOADER_VERSION},
                        {IDC_ESC_LABEL, IDC_ESC_VERSION}};
constexpr int kHintCaption = -1;

// Into `parent` without moving on the screen; last among its children.
void moveInto(QDialog* window, QWidget* widget, QWidget* parent) {
    const QPoint place = widget->mapTo(window, QPoint(0, 0)) - parent->mapTo(window, QPoint(0, 0));
    widget->setParent(parent);
    widget->move(place);
    widget->show();
}

} // namespace

void arrangeForScreenReaders(QDialog* window) {
    QWidget* group = control(window, IDC_VERSION_GROUP);
    for (const auto& row : kRows) {
        auto* name = static_cast<QLabel*>(control(window, row[0]));
        QWidget* value = control(window, row[1]);
        moveInto(window, name, group);
        moveInto(window, value, group);
        name->setBuddy(value);
    }
    auto* caption = static_cast<QLabel*>(control(window, kHintCaption));
    caption->setBuddy(control(window, IDC_HINT));
    control(window, IDC_HINT)->setAccessibleName(caption->text());
    // Children are read in their order, which raise() sets: each goes last.
    for (int id : {IDC_VERSION_GROUP, kHintCaption, IDC_HINT, IDC_UPDATE, IDC_CLOSE})
        control(window, id)->raise();
}
