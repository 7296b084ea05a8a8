#include "app_qt/entry.h"
#include "app_qt/main_window.h"
#include "platform/linux/device_monitor.h"
#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int runQtProgram(int argc, char** argv, bool watchDevices) {
    QApplication application(argc, argv);
    // The message boxes' buttons in the interface language, where Qt's translations exist.
    QTranslator buttons;
    if (germanInterface() && buttons.load(QStringLiteral("qtbase_de"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&buttons);

    closeUnit(unitConnection);
    createMainWindow();
    if (watchDevices) {
        const int fd = deviceMonitorStart();
        if (fd < 0) {
            windowMessageBox(loadText(IDS_REGISTRATION_FAILED),
                             loadText(IDS_REGISTRATION_FAILED_CAPTION), MessageIcon::Error,
                             MessageButtons::Ok);
            closeUnit(unitConnection);
            return 1;
        }
        watchDeviceMonitor(fd);
    }
    return runMainWindow();
}
