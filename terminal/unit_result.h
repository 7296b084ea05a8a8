// How a unit's update ended, named for the JSON, the record and the trace, and told in
// words for a line or the tally.
#pragma once

#include "session/session.h"
#include "terminal/options.h"

#include <string>

// Written, failed, skipped (the controller already current and no --force or person to
// say yes), declined (a person, or a script's answer to the first question, said no) or
// changed (after the confirmations the unit was not the one they were answered for:
// nothing written).
enum class UnitResult { Updated, Failed, Skipped, Declined, Changed };
constexpr int kUnitResults = 5;
const char* resultName(UnitResult result);
// The result of the update `session` ran last: a same-or-newer question that the rules
// answered (no --force, no person to ask) skipped it, any other no declined it.
UnitResult updateResult(const Session& session, const TerminalOptions& options,
                        bool personAtTerminal);
// Why nothing was written, for a skipped, declined or changed unit.
std::wstring notWrittenText(Language language, UnitResult result);

struct Finished {
    std::wstring path, port, product;
    UnitResult result;
    std::wstring text; // the success hint, the failure with its code line, or notWrittenText
};

// "<unit>  <product>  <what>": a unit's line, named as unitName names it.
std::wstring unitLine(Language language, const std::wstring& name, const std::wstring& product,
                      const std::wstring& what);
// Updated or failed in a word; why a skipped, declined or changed unit was not written in
// full.
std::wstring resultWords(Language language, const Finished& finished);
