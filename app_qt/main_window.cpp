#include "app_qt/main_window.h"
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

namespace {

// Close, Escape and the window's close button all end the program, and none of them
// while an update runs; Qt would end the dialog on its own without this.
class CloseGuard : public QObject {
  public:
    CloseGuard(QDialog* window, Session& session)
        : QObject(window), window(window), session(session) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool escape = event->type() == QEvent::KeyPress &&
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (watched != window || (event->type() != QEvent::Close && !escape))
            return false;
        event->ignore();
        session.close();
        return true;
    }

  private:
    QDialog* window;
    Session& session;
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

QWidget* createControl(QDialog* window, const TemplateControl& c, bool german) {
    const QString text = QString::fromWCharArray(german ? c.german : c.english);
    const std::string kind = c.kind;
    QWidget* widget = nullptr;
    if (kind == "Button" && c.groupBox) {
        widget = new QGroupBox(text, window);
    } else if (kind == "Button") {
        auto* button = new QPushButton(text, window);
        button->setDefault(c.defaultButton);
        widget = button;
    } else if (kind == "Edit") {
        auto* edit = new QPlainTextEdit(window);
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setFocusPolicy(Qt::ClickFocus);
        widget = edit;
    } else {
        auto* label = new QLabel(window);
        label->setAlignment((c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        widget = label;
    }
    widget->setObjectName(objectNameOf(c.id));
    widget->setGeometry(dialogRect(window, c.x, c.y, c.width, c.height));
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

QRect dialogRect(const QWidget* window, int x, int y, int width, int height) {
    const QFontMetrics metrics(window->font());
    const int baseX = baseUnitX(metrics);
    const int baseY = metrics.height();
    auto horizontal = [&](int units) { return (units * baseX + 2) / 4; };
    auto vertical = [&](int units) { return (units * baseY + 4) / 8; };
    // At a fractional scale a frame's last line, drawn between two device pixels, is lost
    // under the scroll bar (the hint box's right border at 1.5x): a widget's first and last
    // logical pixels go to the nearest ones that begin on a device pixel.
    const int grid = pixelGrid(window->devicePixelRatioF());
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

QWidget* control(QDialog* window, int id) {
    return window->findChild<QWidget*>(objectNameOf(id));
}

QtWindow::QtWindow(Language language)
    : dialog_(new QDialog(nullptr)), session_(*this, language) {
    const bool german = language == Language::German;
    dialog_->setWindowIcon(appIcon());
    const QRect size = dialogRect(dialog_, 0, 0, kMainDialog.width, kMainDialog.height);
    dialog_->setFixedSize(size.width(), size.height());
    for (std::size_t i = 0; i < kDialogControlCount; ++i)
        createControl(dialog_, kDialogControls[i], german);
    arrangeForScreenReaders(dialog_);
    drawLogo(dialog_);

    dialog_->installEventFilter(new CloseGuard(dialog_, session_));
    QObject::connect(static_cast<QPushButton*>(control(dialog_, IDC_CLOSE)), &QPushButton::clicked,
                     [this] { session_.close(); });
    QObject::connect(static_cast<QPushButton*>(control(dialog_, IDC_UPDATE)), &QPushButton::clicked,
                     [this] { session_.updatePressed(); });
    control(dialog_, IDC_CLOSE)->setFocus();
}

QtWindow::~QtWindow() {
    stopDeviceChanges();
    delete dialog_;
}

bool QtWindow::watchDevices() {
    hotPlug_ = platformWatchHotPlug(nullptr);
    if (hotPlug_ == nullptr)
        return false;
    notifier_ =
        new QSocketNotifier(platformHotPlugDescriptor(hotPlug_), QSocketNotifier::Read, dialog_);
    QObject::connect(notifier_, &QSocketNotifier::activated, [this] {
        HotPlugEvent event{};
        while (platformNextHotPlug(hotPlug_, event))
            session_.deviceChanged(event.arrival ? DeviceChange::Arrival : DeviceChange::Removal,
                                   event.path);
    });
    return true;
}

void QtWindow::stopDeviceChanges() {
    if (notifier_ != nullptr)
        notifier_->setEnabled(false);
    platformStopHotPlug(hotPlug_);
    hotPlug_ = nullptr;
}
