// The Win32 window: the main dialog from template 110, drawing its session's view and
// delivering its events. What it shows and when is the session's (session/session.h).
#pragma once

#include "platform/platform.h"
#include "session/session.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class Win32Window : public FrontEnd {
  public:
    // In the language of the string table Windows chose.
    explicit Win32Window(HINSTANCE instance)
        : instance_(instance), session_(*this, interfaceLanguage()) {}

    Session& session() { return session_; }
    HWND dialog() const { return dialog_; }
    HINSTANCE instance() const { return instance_; }
    // Whether arrivals and removals reach the dialog.
    bool watchingDevices() const { return hotPlug_ != nullptr; }

    // The dialog procedure's work for this window; WM_INITDIALOG starts the session.
    INT_PTR handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void render(const SessionView& view) override;
    bool ask(const Box& box) override;
    void stopDeviceChanges() override;
    void end(EndStatus status) override;
    WindowFrame mainFrame() override;
    FeedbackWindow mainWindow() override { return dialog_; }
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
    void setText(int control, const std::wstring& text);
    void enable(int control, bool enabled);
    LRESULT onDeviceChange(WPARAM event, LPARAM data);

    HINSTANCE instance_;
    HWND dialog_ = nullptr;
    HotPlugWatch* hotPlug_ = nullptr;
    std::optional<SessionView> shown_;
    Session session_;
};

// The dialog procedure of template 110. WM_INITDIALOG's parameter is the Win32Window.
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The window of a dialog made by mainDialogProc.
Win32Window* windowOf(HWND dialog);

// Registers the common controls' window classes, the progress bar's among them.
void initCommonControls();
// The whole program: shows the main dialog modally until it is closed; its end status.
int runWin32Program(HINSTANCE instance);

// A session colour (0xRRGGBB) as GDI takes it.
inline COLORREF asColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}


// The logo's place from the screen rectangles of the dialog and its version group.
LogoPlace logoPlace(const RECT& window, const RECT& group, int bitmapWidth, int bitmapHeight,
                    int frameWidth, int captionHeight);
void paintLogo(HWND window, HINSTANCE instance);
