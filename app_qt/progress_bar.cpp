// The progress window of an update: a top-level bar of its own, transient for the main
// window.
#include "app_qt/main_window.h"

#include <QDialog>
#include <QEvent>
#include <QProgressBar>

namespace {

// A window manager may offer a close button or Alt+F4 all the same.
class ProgressCloseGuard : public QObject {
  public:
    ProgressCloseGuard(QObject* parent, const Session& session)
        : QObject(parent), session(session) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close || session.progressCloseAllowed())
            return false;
        event->ignore();
        return true;
    }

  private:
    const Session& session;
};

} // namespace

FeedbackWindow QtWindow::openProgress(const std::wstring& title, int x, int y, int width,
                                      int height) {
    auto* progress = new QProgressBar(dialog_);
    // Top-level, transient for and modal to the main window; a title, and no close button.
    progress->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    progress->setWindowModality(Qt::WindowModal);
    progress->installEventFilter(new ProgressCloseGuard(progress, session_));
    progress->setObjectName(QStringLiteral("progress"));
    progress->setWindowTitle(QString::fromStdWString(title));
    progress->setRange(0, 100);
    progress->setTextVisible(false);
    progress->setFixedSize(width, height);
    progress->move(x, y);
    progress->show();
    return progress;
}

void QtWindow::showProgress(FeedbackWindow progress, const ProgressState& state) {
    static_cast<QProgressBar*>(progress)->setValue(static_cast<int>(state.percent));
}

void QtWindow::closeProgress(FeedbackWindow progress) {
    delete static_cast<QWidget*>(progress);
}
