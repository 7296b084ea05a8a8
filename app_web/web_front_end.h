// The browser edition's front end, in the Dedicated Worker beside the core: it hands the
// session's view, boxes and progress to the page as JSON messages and waits for the
// page's answers. It has one thread, which may block (the core is suspended while it
// waits), so the session writes an update there and run() works in place.
#pragma once

#include "resources/texts.h"
#include "session/front_end.h"
#include "session/progress_throttle.h"

#include <string>

class WebFrontEnd : public FrontEnd {
  public:
    // Its own texts (the progress line) in `language`, its session's.
    explicit WebFrontEnd(Language language) : language_(language) {}
    void render(const SessionView& view) override;
    bool ask(const Box& box) override;
    void stopDeviceChanges() override { deviceChangesStopped_ = true; }
    void end(EndStatus status) override;
    // The page lays itself out and the browser stacks it: no windows to stack.
    FeedbackWindow openProgress(const std::wstring& title, int x, int y, int width,
                                int height) override;
    void showProgress(FeedbackWindow progress, const ProgressState& state) override;
    void closeProgress(FeedbackWindow progress) override;
    void run(const std::function<void()>& work) override { work(); }
    void postUpdateEnded() override { updateEnded_ = true; }

    bool deviceChangesStopped() const { return deviceChangesStopped_; }
    // Whether an update's end waits to be delivered, taking it.
    bool takeUpdateEnded();

  private:
    const Language language_;
    ProgressThrottle progressThrottle_;
    bool deviceChangesStopped_ = false;
    bool updateEnded_ = false;
};

// The page's own texts in `language`, and the devices its chooser offers.
std::string pageTextsMessage(Language language);
