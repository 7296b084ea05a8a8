#include "app_qt/entry.h"
#include "app_qt/main_window.h"
#include "platform/linux/device_monitor.h"

#include <QApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QTranslator>

int runQtProgram(int argc, char** argv, bool watchDevices) {
    QApplication application(argc, argv);
    // The message boxes' buttons in the interface language, where Qt's translations exist.
    QTranslator buttons;
    if (germanInterface() && buttons.load(QStringLiteral("qtbase_de"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&buttons);

    sessionPrepare();
    createMainWindow();
    const int monitor = watchDevices ? deviceMonitorStart() : -1;
    if (monitor >= 0)
        watchDeviceMonitor(monitor);
    if (!sessionStart(!watchDevices || monitor >= 0))
        return 1;
    mainWindow->exec();
    return 0;
}
