// The progress window of an update: a top-level bar of its own, transient for the main
// window.
#include "app_qt/main_window.h"

#include <QDialog>
#include <QProgressBar>

FeedbackWindow windowOpenProgress(const std::wstring& title, int x, int y, int width, int height) {
    auto* progress = new QProgressBar(mainWindow);
    // Top-level and transient for the main window; a title, and no close button.
    progress->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setWindowTitle(QString::fromStdWString(title));
    progress->setRange(0, 100);
    progress->setTextVisible(false);
    progress->setFixedSize(width, height);
    progress->move(x, y);
    progress->show();
    return progress;
}

void windowShowProgress(FeedbackWindow progress, const ProgressState& state) {
    static_cast<QProgressBar*>(progress)->setValue(static_cast<int>(state.percent));
}

void windowCloseProgress(FeedbackWindow progress) {
    delete static_cast<QWidget*>(progress);
}
