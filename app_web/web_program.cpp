// The browser edition's entry: what the worker's script calls, one call at a time and
// never while another is suspended (it queues the page's events and the device changes
// until the core is idle). One session, for the unit the page shows.
#include "app_web/web_front_end.h"
#include "resources/locale_texts.h"
#include "session/session.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct WebProgram {
    WebFrontEnd frontEnd;
    HotPlugWatch* watch = nullptr;
    std::unique_ptr<Session> session;
};

std::unique_ptr<WebProgram> program;

// The session's own end of an update, once the call that wrote it is over.
void deliverUpdateEnd() {
    while (program->frontEnd.takeUpdateEnded())
        program->session->updateEnded();
}

void startSession() {
    program->session = std::make_unique<Session>(program->frontEnd, UpdateWriter::WindowThread);
    program->session->start(program->watch != nullptr);
    deliverUpdateEnd();
}

char* copyOf(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

} // namespace

extern "C" {

// In the language orcaLanguage chose.
EMSCRIPTEN_KEEPALIVE void orcaStart() {
    if (program)
        return;
    program = std::make_unique<WebProgram>();
    program->watch = platformWatchHotPlug(nullptr);
    startSession();
}

// Another language: a new session in it, which finds the unit again. Not while an
// update runs (the page offers no switch then).
EMSCRIPTEN_KEEPALIVE void orcaLanguage(int german) {
    if (program && program->session->updateRunning())
        return;
    chooseLanguage(german != 0);
    if (!program)
        return;
    program->session.reset();
    startSession();
}

EMSCRIPTEN_KEEPALIVE void orcaUpdate() {
    if (!program)
        return;
    program->session->updatePressed();
    deliverUpdateEnd();
}

EMSCRIPTEN_KEEPALIVE void orcaDeviceChanges() {
    if (!program || program->watch == nullptr || program->frontEnd.deviceChangesStopped())
        return;
    HotPlugEvent event;
    while (platformNextHotPlug(program->watch, event)) {
        program->session->deviceChanged(
            event.arrival ? DeviceChange::Arrival : DeviceChange::Removal, event.path);
        deliverUpdateEnd();
    }
}

// The page's texts as JSON; the caller frees it.
EMSCRIPTEN_KEEPALIVE char* orcaPageTexts() {
    return copyOf(pageTextsMessage());
}

} // extern "C"
