// JSON for what is not a window: the terminal's lines, its record and trace, and the
// browser page's messages. The one writer of JSON in the program, and one mapping of each
// thing a session shows, so that every front end names a field alike.
#pragma once

#include "session/front_end.h"
#include "resources/texts.h"
#include "session/session_view.h"

#include <cstdint>
#include <string>
#include <vector>

// One object, its fields in the order written.
class JsonObject {
  public:
    // {"type":"<type>", ...}
    explicit JsonObject(const char* type);
    JsonObject() = default;

    JsonObject& text(const char* name, const std::wstring& value);
    // A name of the program's own (an outcome, a result): plain ASCII, no escapes.
    JsonObject& word(const char* name, const char* value);
    JsonObject& number(const char* name, std::uint64_t value);
    JsonObject& flag(const char* name, bool value);
    // Already JSON: a nested object or an array.
    JsonObject& json(const char* name, const std::string& value);

    // The object, closed.
    std::string str() const { return out_ + "}"; }

  private:
    void name(const char* field);
    std::string out_ = "{";
};

std::string jsonArray(const std::vector<std::string>& items);

// The three versions a view shows: unit, bootloader, controller.
JsonObject& versionFields(JsonObject& object, const SessionView& view);
// A view's fields: the open unit's device, its product, the three versions, the outcome
// and its hint; the title and row labels; the states of Update, of the versions and of a
// running update; and the image's version, size, SHA-256 and whether it is damaged.
JsonObject& viewFields(JsonObject& object, const SessionView& view);
// A box: what it asks (its id), caption, text, icon and buttons.
JsonObject& boxFields(JsonObject& object, const Box& box);
// A progress state, with the text a line or a page shows for it.
JsonObject& progressFields(JsonObject& object, Language language, const ProgressState& state);
// The text shown for a progress state: before the first block, that the update begins.
std::wstring progressText(Language language, const ProgressState& state);
