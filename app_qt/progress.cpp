// The progress window of an update: a top-level window of its own, transient for the main
// window, centred on it.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"
#include "update/update_procedure.h"

#include <QApplication>
#include <QDialog>
#include <QProgressBar>

namespace {

QWidget* asWindow(FeedbackWindow window) {
    return static_cast<QWidget*>(window);
}

void raiseBoth(QWidget* progress) {
    mainWindow->raise();
    if (progress != nullptr)
        progress->raise();
}

} // namespace

QPoint progressWindowPlace(const QRect& main) {
    return {main.left() + (main.width() >> 1) - 200, main.top() + (main.height() >> 1) - 25};
}

FeedbackWindow openProgress() {
    QProgressBar* progress = nullptr;
    windowRun([&] {
        progress = new QProgressBar(mainWindow);
        // Top-level and transient for the main window; a title, and no close button.
        progress->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        progress->setObjectName(QStringLiteral("progress"));
        progress->setWindowTitle(qText(IDS_PROGRESS_TITLE));
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        progress->setFixedSize(400, 50);
        progress->move(progressWindowPlace(mainWindow->frameGeometry()));
        progress->show();
        raiseBoth(progress);
    });
    return progress;
}

void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining) {
    windowRun([&] {
        if (auto* bar = static_cast<QProgressBar*>(progressWindow))
            bar->setValue(static_cast<int>(progressPercent(total, remaining)));
    });
}

void keepOnTop(FeedbackWindow progressWindow, FeedbackWindow& lastForeground) {
    QWidget* progress = asWindow(progressWindow);
    QWidget* last = asWindow(lastForeground);
    if (last == mainWindow || (last != nullptr && last == progress))
        return;
    windowRun([&] {
        QWidget* front = QApplication::activeWindow();
        if (front == nullptr || (front != mainWindow && front != progress))
            return;
        lastForeground = front;
        raiseBoth(progress);
        mainWindow->show();
        if (progress != nullptr)
            progress->show();
    });
}

void closeProgress(FeedbackWindow progressWindow) {
    windowRun([&] { delete asWindow(progressWindow); });
}
