// The browser edition's entry: what the worker's script calls, one call at a time and
// never while another is suspended (it queues the page's events and the device changes
// until the core is idle). One session, for the unit the page shows.
#include "app_web/web_front_end.h"
#include "resources/texts.h"
#include "session/session.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// What the entry keeps between the worker's calls: the language the page chose, and once
// started the hot-plug watch and one front end and session in that language.
struct WebProgram {
    Language language = Language::English;
    HotPlugWatch* watch = nullptr;
    bool started = false;
    std::unique_ptr<WebFrontEnd> frontEnd;
    std::unique_ptr<Session> session;
};

WebProgram program;

// The session's own end of an update, once the call that wrote it is over.
void deliverUpdateEnd() {
    while (program.frontEnd->takeUpdateEnded())
        program.session->updateEnded();
}

void startSession() {
    program.session.reset();
    program.frontEnd = std::make_unique<WebFrontEnd>(program.language);
    program.session = std::make_unique<Session>(*program.frontEnd, program.language,
                                                UpdateWriter::WindowThread);
    program.session->start(program.watch != nullptr);
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
    if (program.started)
        return;
    program.started = true;
    program.watch = platformWatchHotPlug(nullptr);
    startSession();
}

// Another language: a new session in it, which finds the unit again. Not while an
// update runs (the page offers no switch then).
EMSCRIPTEN_KEEPALIVE void orcaLanguage(int german) {
    if (program.session && program.session->updateRunning())
        return;
    program.language = german != 0 ? Language::German : Language::English;
    if (program.started)
        startSession();
}

EMSCRIPTEN_KEEPALIVE void orcaUpdate() {
    if (!program.started)
        return;
    program.session->updatePressed();
    deliverUpdateEnd();
}

EMSCRIPTEN_KEEPALIVE void orcaDeviceChanges() {
    if (!program.started || program.watch == nullptr || program.frontEnd->deviceChangesStopped())
        return;
    HotPlugEvent event;
    while (platformNextHotPlug(program.watch, event)) {
        program.session->deviceChanged(
            event.arrival ? DeviceChange::Arrival : DeviceChange::Removal, event.path);
        deliverUpdateEnd();
    }
}

// The page's texts as JSON; the caller frees it.
EMSCRIPTEN_KEEPALIVE char* orcaPageTexts() {
    return copyOf(pageTextsMessage(program.language));
}

} // extern "C"
