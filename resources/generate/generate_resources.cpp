// Writes the binary resources of the executable from code, so that every build yields the
// same bytes: generate_resources image|logo|icon OUTPUT
#include "resources/generate/firmware_pattern.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static bool writeFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s image|logo|icon OUTPUT\n", argv[0]);
        return 2;
    }
    const std::string what = argv[1];
    std::vector<std::uint8_t> bytes;
    if (what == "image") {
        bytes = standInImage();
    } else {
        std::fprintf(stderr, "unknown resource '%s'\n", argv[1]);
        return 2;
    }
    if (!writeFile(argv[2], bytes)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
