// What a user or a station's record is told of the firmware image this program carries.
#pragma once

#include <cstdint>
#include <string>

struct ImageFacts {
    std::wstring version; // the profile's, as the version rows show it ("3.0")
    std::wstring sha256;  // as the build took it; empty without an image
    std::uint64_t size = 0;
    bool damaged = false; // its bytes no longer match that digest
};

// Checks the image now.
ImageFacts embeddedImageFacts();
