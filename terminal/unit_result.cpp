#include "terminal/unit_result.h"

#include "resources/resource_ids.h"
#include "session/presentation.h"

const char* resultName(UnitResult result) {
    switch (result) {
    case UnitResult::Updated:
        return "updated";
    case UnitResult::Failed:
        return "failed";
    case UnitResult::Skipped:
        return "skipped";
    case UnitResult::Declined:
        return "declined";
    case UnitResult::Changed:
        return "changed";
    }
    return "";
}

UnitResult updateResult(const Session& session, const TerminalOptions& options,
                        bool personAtTerminal) {
    switch (session.lastUpdateEnd()) {
    case UpdateEnd::Succeeded:
        return UnitResult::Updated;
    case UpdateEnd::Failed:
        return UnitResult::Failed;
    case UpdateEnd::Changed:
        return UnitResult::Changed;
    case UpdateEnd::Declined:
    case UpdateEnd::None:
        break;
    }
    const bool byRule =
        boxAnswer(BoxId::ConfirmSameOrNewer, options, personAtTerminal) == BoxAnswer::No;
    return session.declinedAt() == BoxId::ConfirmSameOrNewer && byRule
               ? UnitResult::Skipped
               : UnitResult::Declined;
}

std::wstring notWrittenText(Language language, UnitResult result) {
    if (result == UnitResult::Changed)
        return loadText(language, IDS_CONTROLLER_CHANGED);
    return loadText(language, result == UnitResult::Skipped ? IDS_CLI_SKIPPED_SAME_OR_NEWER
                                                            : IDS_CLI_DECLINED);
}

std::wstring unitLine(Language language, const std::wstring& name, const std::wstring& product,
                      const std::wstring& what) {
    return formatText(loadText(language, IDS_CLI_UNIT_LINE), {name, product, what});
}

std::wstring resultWords(Language language, const Finished& f) {
    if (f.result == UnitResult::Updated)
        return loadText(language, IDS_CLI_RESULT_UPDATED);
    if (f.result == UnitResult::Failed)
        return loadText(language, IDS_CLI_RESULT_FAILED);
    if (f.result == UnitResult::Changed)
        return loadText(language, IDS_CLI_RESULT_CHANGED) + L": " + f.text;
    return f.text;
}
