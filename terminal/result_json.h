// A unit's result and a line's tally as JSON lines.
#pragma once

#include "session/json.h"
#include "terminal/unit_result.h"

#include <string>
#include <vector>

// "device", "port", "product", "result", "text" of a finished unit.
JsonObject& resultFields(JsonObject& object, const Finished& finished);
// {"type":"result",…}, and "recordProblem":… where the record could not be written.
std::string resultJson(const Finished& finished, const std::wstring& recordProblem = {});
