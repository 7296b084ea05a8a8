#include "app_qt/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QTranslator>

int runQtProgram(int argc, char** argv, bool watchDevices) {
    QApplication application(argc, argv);
    // Wayland compositors find the window's icon and name through its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.norvax.Orca75LxUpdater"));
    const Language language = interfaceLanguage();
    // The message boxes' buttons in the interface language, where Qt's translations exist.
    QTranslator buttons;
    if (language == Language::German && buttons.load(QStringLiteral("qtbase_de"),
                                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&buttons);

    QtWindow window(language);
    const bool watched = !watchDevices || window.watchDevices();
    if (!window.session().start(watched))
        return kEndHotPlugUnavailable;
    return window.dialog()->exec() == kEndHotPlugUnavailable ? kEndHotPlugUnavailable : kEndClosed;
}
