// The Qt window: the main window laid out from dialog 110, and the process-wide handles
// of the Linux user interface. What it shows and when is the session's
// (session/session.h).
#pragma once

#include "resources/locale_texts.h"
#include "session/session.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QWidget;

extern QDialog* mainWindow;

// Builds the main window from the template in the locale's language, with its logo, not
// yet shown; Close, Escape and the close button go to sessionClose().
QDialog* createMainWindow();
// A control of the main window by its template id (-1 is the hint's caption).
QWidget* control(int id);
// A label's text; a left-aligned label grows to show all of it.
void setLabelText(QLabel* label, const QString& text);
// The hot-plug source: the device monitor's descriptor, watched on the event loop.
void watchDeviceMonitor(int fd);

// Dialog units to pixels, from the window's font as Windows computes them.
QRect dialogRect(int x, int y, int width, int height);
