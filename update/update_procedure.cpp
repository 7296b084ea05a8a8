#include "update/update_procedure.h"

#include "resources/resource_ids.h"
#include "unitlink/unit_connection.h"
#include "update/updater_profile.h"

namespace {

// The last-error value is taken by the caller right after the failing step.
void fail(Language language, const UpdateFeedback& feedback, unsigned textId, std::int32_t code,
          std::uint32_t lastError) {
    feedback.reportFailure(loadText(language, textId),
                           loadText(language, IDS_UPDATE_FAILED_CAPTION), code, lastError);
}

bool isSameOrNewer(std::uint16_t installed) {
    return installed >= imageVersionWord(updaterProfile) && installed != kNoEscVersion;
}

} // namespace

bool prepareUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback,
                   UpdatePlan& plan) {
    if (!unitIsOpen(unit)) {
        fail(language, feedback, IDS_FAIL_NO_UNIT, kExchangeRefused, platformLastError());
        return false;
    }
    if (!feedback.confirm(Confirmation::Update, loadText(language, IDS_CONFIRM_UPDATE_CAPTION),
                          loadText(language, IDS_CONFIRM_UPDATE)))
        return false;
    // A removal during the first confirmation has emptied the record: the version reads 0.
    if (isSameOrNewer(escFirmwareVersion(unit)) &&
        !feedback.confirm(Confirmation::SameOrNewer, loadText(language, IDS_CONFIRM_OLDER_IMAGE_CAPTION),
                          loadText(language, IDS_CONFIRM_OLDER_IMAGE)))
        return false;
    // Nothing goes to the unit without an image to write, nor with one that is not the
    // image that was built.
    switch (loadImage(plan.image)) {
    case ImageCheck::Intact:
        return true;
    case ImageCheck::Missing:
        fail(language, feedback, IDS_FAIL_NO_IMAGE, kExchangeRefused, platformLastError());
        return false;
    case ImageCheck::Damaged:
        break;
    }
    fail(language, feedback, IDS_IMAGE_DAMAGED, kExchangeRefused, platformLastError());
    return false;
}

void writeUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback,
                 const UpdatePlan& plan) {
    std::int32_t result = setSystemLock(unit, true);
    if (result != kExchangeOk)
        return fail(language, feedback, IDS_FAIL_LOCK, result, platformLastError());
    unitWait(unit, kStepWaitMs);

    result = setWriteProtect(unit, false);
    if (result != kExchangeOk)
        return fail(language, feedback, IDS_FAIL_WRITE_PROTECT, result, platformLastError());
    unitWait(unit, kStepWaitMs);

    result = erase(unit);
    std::uint32_t lastError = platformLastError();
    // The controller needs this time to finish erasing, whatever it answered.
    unitWait(unit, kAfterEraseWaitMs);
    if (result != kExchangeOk)
        return fail(language, feedback, IDS_FAIL_ERASE, result, lastError);
    unitWait(unit, kStepWaitMs);

    result = setAddress(unit);
    if (result != kExchangeOk)
        return fail(language, feedback, IDS_FAIL_SET_ADDRESS, result, platformLastError());
    unitWait(unit, kStepWaitMs);

    FeedbackWindow progress = feedback.openProgress();
    FeedbackWindow lastForeground = nullptr;
    const auto total = static_cast<std::uint32_t>(plan.image.length);
    BlockCursor cursor;
    startBlocks(cursor, plan.image);
    ImageBlock block;
    while (nextBlock(cursor, block)) {
        result = writeBlock(unit, block.data, block.wordCount);
        // The wait after a block counts from its answer, so that showing the progress
        // overlaps it instead of lengthening it.
        const UnitDeadline nextRequest = unitDeadline(unit, kStepWaitMs);
        if (result != kExchangeOk) {
            lastError = platformLastError();
            feedback.closeProgress(progress);
            return fail(language, feedback, IDS_FAIL_WRITE_BLOCK, result, lastError);
        }
        feedback.setProgress(progress, total, static_cast<std::uint32_t>(cursor.remaining));
        feedback.keepOnTop(progress, lastForeground);
        unitWaitUntil(unit, nextRequest);
    }
    feedback.closeProgress(progress);

    // Their answers change nothing: the image is written.
    if (unitIsOpen(unit))
        setWriteProtect(unit, true);
    if (unitIsOpen(unit))
        setSystemLock(unit, false);
    setEscFirmwareVersion(unit, imageVersionWord(updaterProfile));
    feedback.reportSuccess();
}

void runUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback) {
    UpdatePlan plan;
    if (prepareUpdate(unit, language, feedback, plan))
        writeUpdate(unit, language, feedback, plan);
}
