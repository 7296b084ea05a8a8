// Starts the Linux window with the demo's simulated unit in real time, the unit answering
// at once, and prints how long the window took to show, and how long an update through
// the window, its worker and its progress window took from the lock request to the
// write-protect-on request, against the 45,840 ms of fixed waits in between. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app_qt/main_window.h"
#include "resources/resource_ids.h"
#include "bench/lock_to_protect.h"
#include "sim/sim_unit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

// How long this process had run when main() began, from /proc (10 ms resolution).
double processAgeMs() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double startedMs = std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - startedMs;
}

} // namespace

int main(int argc, char** argv) {
    const double ageAtMain = processAgeMs();
    QElapsedTimer sinceMain;
    sinceMain.start();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    simStartDemo(simDemoPathLinux);
    auto* window = new QtWindow(Language::English);
    QDialog* dialog = window->dialog();
    window->session().start(true);
    dialog->show();
    while (dialog->windowHandle() == nullptr || !dialog->windowHandle()->isExposed())
        QApplication::processEvents();
    const double shownMs = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    std::printf("window shown:    %.1f ms after main(), %.0f ms after the process started\n",
                shownMs, shownMs + ageAtMain);

    QTimer confirm; // accepts the update's confirmation
    QObject::connect(&confirm, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    confirm.start(50);
    QTimer::singleShot(
        0, [dialog] { static_cast<QPushButton*>(control(dialog, IDC_UPDATE))->click(); });
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [window] {
        if (window->session().lastUpdateEnd() == UpdateEnd::Succeeded &&
            !window->session().updateRunning())
            QApplication::quit();
    });
    done.start(100);
    QApplication::exec();

    const bool ran = printLockToProtect();
    delete window;
    return ran ? 0 : 1;
}
