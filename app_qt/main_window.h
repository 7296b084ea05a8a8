// The Qt window: the main window laid out from dialog 110, and the process-wide handles
// of the Linux user interface. What it shows and when is the session's
// (session/session.h).
#pragma once

#include "session/session.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QWidget;

extern QDialog* mainWindow;

// German when the locale's language is German (LC_ALL, else LC_MESSAGES, else LANG).
bool germanInterface();
// Chooses the texts' language; loadText() follows it.
void chooseLanguage(bool german);
QString qText(unsigned id);

// Builds the main window from the template, titled, labelled and with its logo, not yet
// shown; Close, Escape and the close button go to closeMainWindow().
QDialog* createMainWindow();
// A control of the main window by its template id (-1 is the hint's caption).
QWidget* control(int id);
// A label's text; a left-aligned label grows to show all of it.
void setLabelText(QLabel* label, const QString& text);
// Ends the window unless an update runs.
void closeMainWindow();
// The first connection attempt, then the window modally until it is closed; returns 0.
int runMainWindow();
// The hot-plug source: the device monitor's descriptor, watched on the event loop.
void watchDeviceMonitor(int fd);

// The progress window's top-left corner, centred on the main window's frame.
QPoint progressWindowPlace(const QRect& mainFrame);

// Dialog units to pixels, from the window's font as Windows computes them.
QRect dialogRect(int x, int y, int width, int height);
