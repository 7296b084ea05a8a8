#include "app_web/web_front_end.h"
#include "platform/web/suspending_js.h"

#include "resources/resource_ids.h"
#include "resources/text_tables.h"
#include "session/json.h"
#include "session/presentation.h"
#include "session/text_encoding.h"
#include "unitlink/unit_connection.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, postToPage, (const char* message), {
    self.orcaPage.post(JSON.parse(UTF8ToString(message)));
});
WEB_SUSPENDING_JS(int, askPage, (const char* message), {
    return (await self.orcaPage.ask(JSON.parse(UTF8ToString(message)))) ? 1 : 0;
});
// clang-format on

} // namespace

std::string pageTextsMessage(Language language) {
    const bool german = language == Language::German;
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
        {"newVersion", IDS_WEB_NEW_VERSION},
        {"reload", IDS_WEB_RELOAD},
        {"inUseApp", IDS_WEB_IN_USE_APP},
        {"inUseTab", IDS_WEB_IN_USE_TAB},
    };
    JsonObject out("texts");
    out.flag("german", german);
    for (const Named& text : kTexts)
        out.text(text.name, loadText(language, text.id));
    // The button and captions of the main dialog's template, which the page follows.
    const struct {
        const char* name;
        int id;
    } kControls[] = {{"update", IDC_UPDATE}, {"hintLabel", -1}, {"versions", IDC_VERSION_GROUP}};
    for (const auto& control : kControls)
        for (std::size_t i = 0; i < kDialogControlCount; ++i)
            if (kDialogControls[i].id == control.id)
                out.text(control.name,
                         german ? kDialogControls[i].german : kDialogControls[i].english);
    return out.number("vendorId", kUnitVendorId)
        .json("productIds", jsonArray({std::to_string(kProductDockpad),
                                       std::to_string(kProductDockBox)}))
        .str();
}

void WebFrontEnd::render(const SessionView& view) {
    JsonObject message("view");
    postToPage(viewFields(message, view).str().c_str());
}

bool WebFrontEnd::ask(const Box& box) {
    JsonObject message("ask");
    return askPage(boxFields(message, box).str().c_str()) != 0;
}

void WebFrontEnd::end(EndStatus status) {
    postToPage(JsonObject("end").number("status", static_cast<unsigned>(status)).str().c_str());
}

FeedbackWindow WebFrontEnd::openProgress(const std::wstring& title, int, int, int, int) {
    postToPage(JsonObject("progress-open").text("title", title).str().c_str());
    return this;
}

void WebFrontEnd::showProgress(FeedbackWindow, const ProgressState& state) {
    if (!progressThrottle_.due(state))
        return;
    JsonObject message("progress");
    postToPage(progressFields(message, language_, state).str().c_str());
}

void WebFrontEnd::closeProgress(FeedbackWindow) {
    postToPage(JsonObject("progress-close").str().c_str());
}

bool WebFrontEnd::takeUpdateEnded() {
    const bool ended = updateEnded_;
    updateEnded_ = false;
    return ended;
}
