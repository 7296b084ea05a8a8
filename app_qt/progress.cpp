// The progress window of an update: a top-level window of its own, transient for the main
// window, centred on it.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"
#include "update/update_procedure.h"

#include <QDialog>
#include <QProgressBar>

QPoint progressWindowPlace(const QRect& mainFrame) {
    // Windows' rectangles end past their last pixel; Qt's on it.
    const WindowCorner corner = progressWindowCorner(mainFrame.left(), mainFrame.top(),
                                                     mainFrame.right() + 1, mainFrame.bottom() + 1);
    return {corner.x, corner.y};
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
        raiseMainAndProgress(progress);
    });
    return progress;
}

void setProgress(FeedbackWindow progressWindow, std::uint32_t total, std::uint32_t remaining) {
    windowRun([&] {
        if (auto* bar = static_cast<QProgressBar*>(progressWindow))
            bar->setValue(static_cast<int>(progressPercent(total, remaining)));
    });
}

void closeProgress(FeedbackWindow progressWindow) {
    windowRun([&] { delete static_cast<QWidget*>(progressWindow); });
}
