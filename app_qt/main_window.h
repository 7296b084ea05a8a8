// The Qt window: the main window laid out from dialog 110, drawing its session's view and
// delivering its events. What it shows and when is the session's (session/session.h).
#pragma once

#include "platform/platform.h"
#include "resources/texts.h"
#include "session/session.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

class QDialog;
class QLabel;
class QSocketNotifier;
class QWidget;

class QtWindow : public FrontEnd {
  public:
    // Builds the main window from the template with its logo, not yet shown; Close, Escape
    // and the close button go to the session's close. Its texts in `language`, which the
    // entry chose from the locale (LC_ALL, else LC_MESSAGES, else LANG).
    explicit QtWindow(Language language);
    ~QtWindow() override;

    Session& session() { return session_; }
    QDialog* dialog() const { return dialog_; }
    // The hot-plug source: udev's monitor, watched on the event loop; false without one.
    bool watchDevices();

    void render(const SessionView& view) override;
    bool ask(const Box& box) override;
    void stopDeviceChanges() override;
    void end(EndStatus status) override;
    WindowFrame mainFrame() override;
    FeedbackWindow mainWindow() override;
    FeedbackWindow inFront() override;
    void raise(FeedbackWindow window) override;
    void show(FeedbackWindow window) override;
    FeedbackWindow openProgress(const std::wstring& title, int x, int y, int width,
                                int height) override;
    void showProgress(FeedbackWindow progress, const ProgressState& state) override;
    void closeProgress(FeedbackWindow progress) override;
    void run(const std::function<void()>& work) override;
    void postUpdateEnded() override;

  private:
    QDialog* dialog_;
    HotPlugWatch* hotPlug_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    std::optional<SessionView> shown_;
    Session session_;
};

// The whole program: the window until it is closed; its end status. `watchDevices`: the
// product follows udev's events, the demo's simulated unit has none.
int runQtProgram(int argc, char** argv, bool watchDevices);

// A control of a main window by its template id (-1 is the hint's caption).
QWidget* control(QDialog* window, int id);
// A label's text; a left-aligned label grows to show all of it.
void setLabelText(QLabel* label, const QString& text);

// What a screen reader finds, as the Windows dialog gives it: the version rows inside
// their group, each value labelled by its row's name, the hint box named by its caption,
// and the order group, hint, Update, Close.
void arrangeForScreenReaders(QDialog* window);
// Bitmap 121 painted right of the version group, its green transparent: decoration, no
// widget of its own, drawn from the whole bitmap so that it stays sharp on dense screens.
void drawLogo(QDialog* window);

// Dialog units to pixels, from the window's font as Windows computes them; at a
// fractional scale each edge on the nearest logical pixel that is a whole device pixel.
QRect dialogRect(const QWidget* window, int x, int y, int width, int height);
// The smallest number of logical pixels that makes whole device pixels at `ratio` (1 at
// 1x and 2x, 2 at 1.5x, 4 at 1.25x and 1.75x), 1 where none up to 8 does.
int pixelGrid(double ratio);
