#include "tests/qt/scripted_hotplug.h"

#include <deque>
#include <fcntl.h>
#include <unistd.h>

struct HotPlugWatch {
    int pipe[2] = {-1, -1};
    std::deque<HotPlugEvent> waiting;
};

namespace {

HotPlugWatch* current = nullptr; // the window's, while it watches

} // namespace

HotPlugWatch* platformWatchHotPlug(void*) {
    auto* watch = new HotPlugWatch;
    if (pipe2(watch->pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        delete watch;
        return nullptr;
    }
    current = watch;
    return watch;
}

int platformHotPlugDescriptor(const HotPlugWatch* watch) {
    return watch != nullptr ? watch->pipe[0] : -1;
}

bool platformNextHotPlug(HotPlugWatch* watch, HotPlugEvent& event) {
    char wake;
    while (read(watch->pipe[0], &wake, 1) == 1) {
    }
    if (watch->waiting.empty())
        return false;
    event = watch->waiting.front();
    watch->waiting.pop_front();
    return true;
}

void platformStopHotPlug(HotPlugWatch* watch) {
    if (watch == nullptr)
        return;
    if (current == watch)
        current = nullptr;
    close(watch->pipe[0]);
    close(watch->pipe[1]);
    delete watch;
}

bool tellHotPlug(const HotPlugEvent& event) {
    if (current == nullptr)
        return false;
    current->waiting.push_back(event);
    return write(current->pipe[1], "!", 1) == 1;
}
