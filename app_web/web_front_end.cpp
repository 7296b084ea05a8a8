#include "app_web/web_front_end.h"

#include "resources/resource_ids.h"
#include "resources/text_tables.h"
#include "session/presentation.h"
#include "session/text_encoding.h"
#include "unitlink/unit_connection.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, postToPage, (const char* message), {
    self.orcaPage.post(JSON.parse(UTF8ToString(message)));
});
EM_ASYNC_JS(int, askPage, (const char* message), {
    return (await self.orcaPage.ask(JSON.parse(UTF8ToString(message)))) ? 1 : 0;
});
// clang-format on

const char* boxName(BoxId id) {
    switch (id) {
    case BoxId::ConfirmUpdate:
        return "confirm-update";
    case BoxId::ConfirmSameOrNewer:
        return "confirm-same-or-newer";
    case BoxId::Incompatible:
        return "incompatible";
    case BoxId::UpdateFailed:
        return "update-failed";
    case BoxId::HotPlugUnavailable:
        return "hot-plug-unavailable";
    }
    return "";
}

const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    }
    return "";
}

const char* buttonsName(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return "ok";
    case MessageButtons::OkCancel:
        return "ok-cancel";
    case MessageButtons::YesNo:
        return "yes-no";
    }
    return "";
}

const char* flag(bool value) {
    return value ? "true" : "false";
}

// The page's messages of a view, a box, a progress state: one JSON object each.
std::string viewMessage(const SessionView& view) {
    return "{\"type\":\"view\",\"title\":" + jsonString(view.title) +
           ",\"unitLabel\":" + jsonString(view.unitLabel) +
           ",\"bootloaderLabel\":" + jsonString(view.bootloaderLabel) +
           ",\"escLabel\":" + jsonString(view.escLabel) +
           ",\"unitVersion\":" + jsonString(view.unitVersion) +
           ",\"bootloaderVersion\":" + jsonString(view.bootloaderVersion) +
           ",\"escVersion\":" + jsonString(view.escVersion) +
           ",\"versionsEnabled\":" + flag(view.versionsEnabled) + ",\"outcome\":\"" +
           outcomeRow(view.outcome).name + "\",\"hint\":" + jsonString(view.hint) +
           ",\"updateEnabled\":" + flag(view.updateEnabled) +
           ",\"device\":" + jsonString(view.device) + "}";
}

std::string boxMessage(const Box& box) {
    return std::string("{\"type\":\"ask\",\"id\":\"") + boxName(box.id) +
           "\",\"caption\":" + jsonString(box.caption) + ",\"text\":" + jsonString(box.text) +
           ",\"icon\":\"" + iconName(box.icon) + "\",\"buttons\":\"" + buttonsName(box.buttons) +
           "\"}";
}

std::string progressMessage(const ProgressState& state) {
    const std::wstring text =
        state.blocksTotal == 0 // opened, before the first block
            ? loadText(IDS_CLI_PROGRESS_START)
            : formatText(loadText(IDS_CLI_PROGRESS), {state.percent, state.blocksWritten,
                                                      state.blocksTotal, state.secondsLeft});
    return "{\"type\":\"progress\",\"percent\":" + std::to_string(state.percent) +
           ",\"blocksWritten\":" + std::to_string(state.blocksWritten) +
           ",\"blocksTotal\":" + std::to_string(state.blocksTotal) +
           ",\"secondsLeft\":" + std::to_string(state.secondsLeft) +
           ",\"text\":" + jsonString(text) + "}";
}

} // namespace

std::string pageTextsMessage() {
    struct Named {
        const char* name;
        unsigned id;
    };
    static const Named kTexts[] = {
        {"connect", IDS_WEB_CONNECT},
        {"noWebHid", IDS_WEB_NO_WEBHID},
        {"linuxAccess", IDS_WEB_LINUX_ACCESS},
        {"noneChosen", IDS_WEB_NONE_CHOSEN},
        {"language", IDS_WEB_LANGUAGE},
        {"ok", IDS_WEB_OK},
        {"cancel", IDS_WEB_CANCEL},
        {"yes", IDS_WEB_YES},
        {"no", IDS_WEB_NO},
    };
    std::string out = std::string("{\"type\":\"texts\",\"german\":") + flag(interfaceIsGerman());
    for (const Named& text : kTexts)
        out += std::string(",\"") + text.name + "\":" + jsonString(loadText(text.id));
    // The button and captions of the main dialog's template, which the page follows.
    const struct {
        const char* name;
        int id;
    } kControls[] = {{"update", IDC_UPDATE}, {"hintLabel", -1}, {"versions", IDC_VERSION_GROUP}};
    for (const auto& control : kControls)
        for (std::size_t i = 0; i < kDialogControlCount; ++i)
            if (kDialogControls[i].id == control.id)
                out += std::string(",\"") + control.name + "\":" +
                       jsonString(interfaceIsGerman() ? kDialogControls[i].german
                                                      : kDialogControls[i].english);
    return out + ",\"vendorId\":" + std::to_string(kUnitVendorId) + ",\"productIds\":[" +
           std::to_string(kProductDockpad) + "," + std::to_string(kProductDockBox) + "]}";
}

void WebFrontEnd::render(const SessionView& view) {
    postToPage(viewMessage(view).c_str());
}

bool WebFrontEnd::ask(const Box& box) {
    return askPage(boxMessage(box).c_str()) != 0;
}

void WebFrontEnd::end(EndStatus status) {
    postToPage(("{\"type\":\"end\",\"status\":" + std::to_string(status) + "}").c_str());
}

FeedbackWindow WebFrontEnd::openProgress(const std::wstring& title, int, int, int, int) {
    postToPage(("{\"type\":\"progress-open\",\"title\":" + jsonString(title) + "}").c_str());
    return this;
}

// Ten states a second are all an eye can follow; every message would take the page's
// thread and the worker's from the update fifty times a second. The first and the last
// are always shown.
void WebFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    const double now = emscripten_get_now();
    const bool last = state.blocksTotal != 0 && state.blocksWritten == state.blocksTotal;
    if (state.blocksWritten > 1 && !last && now - progressShownAt_ < kProgressIntervalMs)
        return;
    progressShownAt_ = now;
    postToPage(progressMessage(state).c_str());
}

void WebFrontEnd::closeProgress(FeedbackWindow) {
    postToPage("{\"type\":\"progress-close\"}");
}

bool WebFrontEnd::takeUpdateEnded() {
    const bool ended = updateEnded_;
    updateEnded_ = false;
    return ended;
}
