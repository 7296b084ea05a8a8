// Arrivals and removals from WebHID's connect and disconnect events in the worker, and
// from the devices the page's chooser granted; the worker's script queues them
// (platform/web/web_hid.js) and the front end takes them when the core is idle.
#include "platform/platform.h"

#include <emscripten.h>

#include <cstdlib>

struct HotPlugWatch {};

namespace {

// clang-format off
EM_JS(int, webWatch, (), {
    return self.orcaWebHid.watch() ? 1 : 0;
});
// "+path" for an arrival, "-path" for a removal; null when none waits.
EM_JS(char*, webNextEvent, (), {
    const event = self.orcaWebHid.nextEvent();
    if (event === null)
        return 0;
    const text = (event.arrival ? '+' : '-') + event.path;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, webUnwatch, (), {
    self.orcaWebHid.unwatch();
});
// clang-format on

} // namespace

HotPlugWatch* platformWatchHotPlug(void*) {
    return webWatch() != 0 ? new HotPlugWatch : nullptr;
}

int platformHotPlugDescriptor(const HotPlugWatch*) {
    return -1;
}

bool platformNextHotPlug(HotPlugWatch*, HotPlugEvent& event) {
    char* text = webNextEvent();
    if (text == nullptr)
        return false;
    event.arrival = text[0] == '+';
    event.path.clear();
    for (const char* c = text + 1; *c != '\0'; ++c)
        event.path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    std::free(text);
    return true;
}

void platformStopHotPlug(HotPlugWatch* watch) {
    if (watch == nullptr)
        return;
    webUnwatch();
    delete watch;
}
