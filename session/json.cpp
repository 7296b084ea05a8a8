#include "session/json.h"

#include "resources/resource_ids.h"
#include "session/presentation.h"
#include "session/text_encoding.h"

JsonObject::JsonObject(const char* type) {
    word("type", type);
}

void JsonObject::name(const char* field) {
    if (out_.size() > 1)
        out_ += ',';
    out_ += '"';
    out_ += field;
    out_ += "\":";
}

JsonObject& JsonObject::text(const char* field, const std::wstring& value) {
    name(field);
    out_ += jsonString(value);
    return *this;
}

JsonObject& JsonObject::word(const char* field, const char* value) {
    name(field);
    out_ += '"';
    out_ += value;
    out_ += '"';
    return *this;
}

JsonObject& JsonObject::number(const char* field, std::uint64_t value) {
    name(field);
    out_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::flag(const char* field, bool value) {
    name(field);
    out_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::json(const char* field, const std::string& value) {
    name(field);
    out_ += value;
    return *this;
}

std::string jsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (const std::string& item : items)
        out += (out.size() > 1 ? "," : "") + item;
    return out + "]";
}

namespace {

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
    case BoxId::ControllerChanged:
        return "controller-changed";
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

} // namespace

JsonObject& versionFields(JsonObject& object, const SessionView& view) {
    return object.text("unit", view.unitVersion)
        .text("bootloader", view.bootloaderVersion)
        .text("controller", view.escVersion);
}

JsonObject& viewFields(JsonObject& object, const SessionView& view) {
    object.text("device", view.device).text("port", view.port).text("product", view.unitLabel);
    return versionFields(object, view)
        .word("outcome", outcomeRow(view.outcome).name)
        .text("hint", view.hint)
        .text("title", view.title)
        .text("bootloaderLabel", view.bootloaderLabel)
        .text("controllerLabel", view.escLabel)
        .flag("versionsEnabled", view.versionsEnabled)
        .flag("updateEnabled", view.updateEnabled)
        .flag("updateRunning", view.updateRunning)
        .text("imageVersion", view.image.version)
        .number("imageSize", view.image.size)
        .text("imageSha256", view.image.sha256)
        .flag("imageDamaged", view.image.damaged);
}

JsonObject& boxFields(JsonObject& object, const Box& box) {
    return object.word("id", boxName(box.id))
        .text("caption", box.caption)
        .text("text", box.text)
        .word("icon", iconName(box.icon))
        .word("buttons", buttonsName(box.buttons));
}

std::wstring progressText(Language language, const ProgressState& state) {
    if (state.blocksTotal == 0)
        return loadText(language, IDS_CLI_PROGRESS_START);
    return formatText(loadText(language, IDS_CLI_PROGRESS),
                      {state.percent, state.blocksWritten, state.blocksTotal, state.secondsLeft});
}

JsonObject& progressFields(JsonObject& object, Language language, const ProgressState& state) {
    return object.number("percent", state.percent)
        .number("blocks", state.blocksWritten)
        .number("of", state.blocksTotal)
        .number("secondsLeft", state.secondsLeft)
        .text("text", progressText(language, state));
}
