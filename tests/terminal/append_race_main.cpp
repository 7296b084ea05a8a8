// Two stations appending to one record at once: `append_race FILE TAG COUNT` appends COUNT
// records as a station does; `append_race check FILE COUNT TAG...` then says whether every
// line is whole and each writer's records are all there, once each, in order.
#include "terminal/record_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>

namespace {

const std::string kPad(300, 'x');

std::string record(const std::string& tag, int n) {
    return "{\"writer\":\"" + tag + "\",\"n\":" + std::to_string(n) + ",\"pad\":\"" + kPad + "\"}\n";
}

bool otherBegan(const std::string& file, const std::string& tag) {
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("{\"writer\":\"" + tag + "\"", 0) != 0)
            return true;
    return false;
}

int append(const std::string& file, const std::string& tag, int count) {
    RecordFile out;
    std::wstring reason;
    if (out.open(std::wstring(file.begin(), file.end()), reason) != FileOpening::Opened) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }
    for (int n = 0; n < count; ++n) {
        if (!out.append(record(tag, n))) {
            std::fprintf(stderr, "record %d of %s not written\n", n, tag.c_str());
            return 1;
        }
        // The rest only once the other writer has begun too, so that the two overlap
        // however long either took to start (Wine takes a second).
        for (int tries = 0; n == 0 && !otherBegan(file, tag); ++tries) {
            if (tries == 12000) {
                std::fprintf(stderr, "the other writer never began\n");
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return 0;
}

int check(const std::string& file, int count, int tags, char** tag) {
    std::map<std::string, int> next;
    std::ifstream in(file, std::ios::binary);
    int lines = 0, turns = 0;
    std::string last;
    for (std::string line; std::getline(in, line); ++lines) {
        bool known = false;
        for (int t = 0; t < tags && !known; ++t) {
            const std::string expected = record(tag[t], next[tag[t]]);
            if (line + "\n" == expected) {
                ++next[tag[t]];
                known = true;
                turns += !last.empty() && last != tag[t];
                last = tag[t];
            }
        }
        if (!known) {
            std::fprintf(stderr, "line %d is not a whole record in its writer's order: %.80s\n",
                         lines + 1, line.c_str());
            return 1;
        }
    }
    for (int t = 0; t < tags; ++t)
        if (next[tag[t]] != count) {
            std::fprintf(stderr, "%s: %d of %d records\n", tag[t], next[tag[t]], count);
            return 1;
        }
    std::printf("%d lines, all whole; the writers took turns %d times\n", lines, turns);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "check")
        return check(argv[2], std::atoi(argv[3]), argc - 4, argv + 4);
    if (argc == 4)
        return append(argv[1], argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: append_race FILE TAG COUNT | check FILE COUNT TAG...\n");
    return 2;
}
