// The update, from the Update button's confirmations to the final message. It reaches the
// user only through the UpdateFeedback it is handed, and the unit only through the record
// it is handed.
#pragma once

#include "unitlink/unit_connection.h"
#include "update/firmware_image.h"
#include "resources/texts.h"
#include "update/update_feedback.h"

#include <cstdint>

// What the first part of an update hands to the second.
struct UpdatePlan {
    FirmwareImage image;
};

// The whole update on the calling thread, its texts in `language`.
void runUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback);

// The two halves of runUpdate. prepareUpdate asks the confirmations and loads the image,
// checked against its digest (user-interface thread); false means the update ends here,
// already reported if it failed. writeUpdate sends everything from the lock on and may
// run on another thread.
bool prepareUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback,
                   UpdatePlan& plan);
void writeUpdate(UnitConnection& unit, Language language, const UpdateFeedback& feedback,
                 const UpdatePlan& plan);

// The bar's position in percent: reaches 100 only when nothing remains.
constexpr std::uint32_t progressPercent(std::uint32_t total, std::uint32_t remaining) {
    return (total - remaining) * 100u / total;
}

// Waits between the steps of an update, in ms.
constexpr std::uint32_t kStepWaitMs = 20;
constexpr std::uint32_t kAfterEraseWaitMs = 4000;
