// The logo: painted on the main window itself, since a screen reader should not find it.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"

#include <QDialog>
#include <QEvent>
#include <QPainter>

namespace {

class LogoPainter : public QObject {
  public:
    LogoPainter(QDialog* window, QImage logo)
        : QObject(window), window(window), logo(std::move(logo)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window && event->type() == QEvent::Paint)
            paint();
        return false; // the dialog paints nothing of its own over it
    }

  private:
    void paint() {
        const QRect group = control(window, IDC_VERSION_GROUP)->geometry();
        const LogoPlace place = logoPlace(window->width(), group.x() + group.width(), group.y(),
                                          logo.width(), logo.height());
        if (!logoFits(place))
            return;
        QPainter painter(window);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(place.x, place.y, place.width, place.height), logo);
    }
    QDialog* window;
    QImage logo;
};

} // namespace

void drawLogo(QDialog* window) {
    QImage logo(QStringLiteral(":/logo.bmp"));
    if (logo.isNull())
        return;
    logo = logo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < logo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(logo.scanLine(y));
        for (int x = 0; x < logo.width(); ++x)
            if ((line[x] & 0xFFFFFF) == kLogoTransparentColour)
                line[x] = qRgba(0, 0, 0, 0);
    }
    window->installEventFilter(new LogoPainter(window, std::move(logo)));
}
