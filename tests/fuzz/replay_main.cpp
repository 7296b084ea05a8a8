// Replays every input of a corpus folder through the fuzz target, without libFuzzer, so
// that an ordinary build's tests run what fuzzing found.
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    DIR* folder = opendir(argv[1]);
    if (folder == nullptr) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    int replayed = 0;
    while (dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream file(std::string(argv[1]) + "/" + entry->d_name, std::ios::binary);
        const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(input.data(), input.size());
        ++replayed;
    }
    closedir(folder);
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
