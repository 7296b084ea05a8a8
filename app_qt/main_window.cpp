#include "app_qt/main_window.h"
#include "platform/linux/device_monitor.h"
#include "resources/resource_ids.h"
#include "resources/text_tables.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>

#include <cmath>

QDialog* mainWindow = nullptr;

namespace {

QSocketNotifier* monitorNotifier = nullptr;

// Close, Escape and the window's close button all end the program, and none of them
// while an update runs; Qt would end the dialog on its own without this.
class CloseGuard : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool escape = event->type() == QEvent::KeyPress &&
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (watched != mainWindow || (event->type() != QEvent::Close && !escape))
            return false;
        event->ignore();
        sessionClose();
        return true;
    }
};

QString objectNameOf(int id) {
    return QStringLiteral("control%1").arg(id);
}

// Windows' dialog base units: the average width of the 52 letters, and the line height.
int baseUnitX(const QFontMetrics& metrics) {
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (letters / 26 + 1) / 2;
}

// The controller's row is red while enabled; greyed it looks like the others.
void paintControllerRow(QWidget* widget) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, QColor::fromRgb(kControllerRowColour));
    widget->setPalette(palette);
}

QWidget* createControl(const TemplateControl& c, bool german) {
    const QString text = QString::fromWCharArray(german ? c.german : c.english);
    const std::string kind = c.kind;
    QWidget* widget = nullptr;
    if (kind == "Button" && c.groupBox) {
        widget = new QGroupBox(text, mainWindow);
    } else if (kind == "Button") {
        auto* button = new QPushButton(text, mainWindow);
        button->setDefault(c.defaultButton);
        widget = button;
    } else if (kind == "Edit") {
        auto* edit = new QPlainTextEdit(mainWindow);
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setFocusPolicy(Qt::ClickFocus);
        widget = edit;
    } else {
        auto* label = new QLabel(mainWindow);
        label->setAlignment((c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        widget = label;
    }
    widget->setObjectName(objectNameOf(c.id));
    widget->setGeometry(dialogRect(c.x, c.y, c.width, c.height));
    widget->setEnabled(!c.disabled);
    if (auto* label = qobject_cast<QLabel*>(widget))
        setLabelText(label, text);
    if (isControllerRow(c.id))
        paintControllerRow(widget);
    return widget;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

void setLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->alignment() & Qt::AlignRight)
        return;
    // The template's widths suit Windows' narrower dialog font; a label here grows to its
    // text rather than cut it off.
    const int needed = label->fontMetrics().horizontalAdvance(text) + 1;
    if (needed > label->width())
        label->resize(needed, label->height());
}

QRect dialogRect(int x, int y, int width, int height) {
    const QFontMetrics metrics(mainWindow->font());
    const int baseX = baseUnitX(metrics);
    const int baseY = metrics.height();
    auto horizontal = [&](int units) { return (units * baseX + 2) / 4; };
    auto vertical = [&](int units) { return (units * baseY + 4) / 8; };
    // At a fractional scale a frame's last line, drawn between two device pixels, is lost
    // under the scroll bar (the hint box's right border at 1.5x): a widget's first and last
    // logical pixels go to the nearest ones that begin on a device pixel.
    const int grid = pixelGrid(mainWindow->devicePixelRatioF());
    auto snap = [grid](int pixels) { return (pixels + grid / 2) / grid * grid; };
    const int left = horizontal(x);
    const int top = vertical(y);
    return QRect(QPoint(snap(left), snap(top)),
                 QPoint(snap(left + horizontal(width) - 1), snap(top + vertical(height) - 1)));
}

int pixelGrid(double ratio) {
    for (int grid = 1; grid <= 8; ++grid) {
        const double device = ratio * grid;
        if (std::abs(device - std::round(device)) < 1e-6)
            return grid;
    }
    return 1;
}

QWidget* control(int id) {
    return mainWindow->findChild<QWidget*>(objectNameOf(id));
}

QDialog* createMainWindow() {
    const bool german = germanInterface();
    chooseLanguage(german);
    monitorNotifier = nullptr;
    mainWindow = new QDialog(nullptr);
    mainWindow->setWindowIcon(appIcon());
    const QRect size = dialogRect(0, 0, kMainDialog.width, kMainDialog.height);
    mainWindow->setFixedSize(size.width(), size.height());
    for (std::size_t i = 0; i < kDialogControlCount; ++i)
        createControl(kDialogControls[i], german);
    arrangeForScreenReaders();
    drawLogo();

    mainWindow->installEventFilter(new CloseGuard(mainWindow));
    QObject::connect(static_cast<QPushButton*>(control(IDC_CLOSE)), &QPushButton::clicked,
                     [] { sessionClose(); });
    QObject::connect(static_cast<QPushButton*>(control(IDC_UPDATE)), &QPushButton::clicked,
                     [] { startUpdate(); });
    control(IDC_CLOSE)->setFocus();
    return mainWindow;
}

void windowStopDeviceChanges() {
    if (monitorNotifier != nullptr)
        monitorNotifier->setEnabled(false);
    deviceMonitorStop();
}

void watchDeviceMonitor(int fd) {
    monitorNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, mainWindow);
    QObject::connect(monitorNotifier, &QSocketNotifier::activated, [] {
        DeviceEvent event{};
        while (deviceMonitorNext(event))
            handleDeviceChange(event.kind == DeviceEventKind::Arrival ? DeviceChange::Arrival
                                                                      : DeviceChange::Removal,
                               event.path);
    });
}
