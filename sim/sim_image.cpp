// The firmware image for builds that carry no resources.
#include "platform/platform.h"
#include "sim/sim_state.h"

bool platformFirmwareImage(const std::uint8_t*& data, std::size_t& length) {
    std::lock_guard<std::mutex> guard(simBus.lock);
    data = simBus.image.data();
    length = simBus.image.size();
    return !simBus.image.empty();
}

std::string platformFirmwareImageSha256() {
    std::lock_guard<std::mutex> guard(simBus.lock);
    return simBus.imageSha256;
}
