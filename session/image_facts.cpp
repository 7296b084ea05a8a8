#include "session/image_facts.h"

#include "session/presentation.h"
#include "update/firmware_image.h"
#include "update/updater_profile.h"

ImageFacts embeddedImageFacts() {
    FirmwareImage image;
    ImageFacts facts;
    facts.damaged = loadImage(image) == ImageCheck::Damaged;
    facts.version = escVersionText(imageVersionWord(updaterProfile));
    facts.sha256.assign(image.sha256.begin(), image.sha256.end());
    facts.size = image.length;
    return facts;
}
