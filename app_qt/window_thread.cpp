// The worker reaches the window's thread through queued calls; run blocks until its call
// has run there.
#include "app_qt/main_window.h"

#include <QDialog>
#include <QThread>

void QtWindow::run(const std::function<void()>& work) {
    if (QThread::currentThread() == dialog_->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        dialog_, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void QtWindow::postUpdateEnded() {
    QMetaObject::invokeMethod(
        dialog_, [this] { session_.updateEnded(); }, Qt::QueuedConnection);
}
