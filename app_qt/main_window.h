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

// What a screen reader finds, as the Windows dialog gives it: the version rows inside
// their group, each value labelled by its row's name, the hint box named by its caption,
// and the order group, hint, Update, Close.
void arrangeForScreenReaders();
// Bitmap 121 painted right of the version group, its green transparent: decoration, no
// widget of its own, drawn from the whole bitmap so that it stays sharp on dense screens.
void drawLogo();

// Dialog units to pixels, from the window's font as Windows computes them; at a
// fractional scale each edge on the nearest logical pixel that is a whole device pixel.
QRect dialogRect(int x, int y, int width, int height);
// The smallest number of logical pixels that makes whole device pixels at `ratio` (1 at
// 1x and 2x, 2 at 1.5x, 4 at 1.25x and 1.75x), 1 where none up to 8 does.
int pixelGrid(double ratio);
