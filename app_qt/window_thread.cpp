// The worker reaches the window's thread through queued calls; windowRun blocks until its
// call has run there.
#include "app_qt/main_window.h"

#include <QDialog>
#include <QThread>

void windowRun(const std::function<void()>& work) {
    if (QThread::currentThread() == mainWindow->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        mainWindow, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void windowPostUpdateEnded() {
    QMetaObject::invokeMethod(
        mainWindow, [] { finishUpdate(); }, Qt::QueuedConnection);
}
