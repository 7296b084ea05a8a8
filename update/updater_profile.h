// The constants that tie this build to one controller model and its image.
#pragma once

#include <cstdint>

struct UpdaterProfile {
    const wchar_t* modelName;
    std::uint32_t acceptedTypeCodes[2];
    std::uint8_t imageMajor;
    std::uint8_t imageMinor;
};

constexpr UpdaterProfile updaterProfile = {
    L"ORCA 75 LX",
    {0x1422605A, 0x0A06405A},
    3,
    0,
};

constexpr std::uint16_t imageVersionWord(const UpdaterProfile& profile) {
    return static_cast<std::uint16_t>((profile.imageMajor << 8) | profile.imageMinor);
}

inline bool isAcceptedTypeCode(std::uint32_t typeCode) {
    for (std::uint32_t accepted : updaterProfile.acceptedTypeCodes)
        if (typeCode == accepted)
            return true;
    return false;
}
