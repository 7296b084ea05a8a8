// Two stations on one machine: two line programs on disjoint --port sets, four units each,
// over virtual hidraw nodes that this process answers as the simulated units. Both write
// at once into one record; a third program asking for a socket of the first is refused the
// unit as in use. Every unit is exact on the wire: its update as the procedure sends it,
// no request malformed, none from another program, its flash the image.
//   two_stations PROGRAM PRELOAD RECORD
#include "resources/generate/firmware_pattern.h"
#include "sim/sim_unit.h"
#include "tests/linux/unit_descriptor.h"
#include "tests/linux/virtual_hidraw.h"
#include "unitlink/unit_connection.h"

#include <umockdev.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kUnits = 8;
// Identification, the same again after the confirmation, lock, protection off, erase,
// address, every block of the image, protection on, release.
constexpr std::size_t kRequestsPerUnit = 3 + 3 + 4 + 2038 + 2;

struct Child {
    pid_t pid;
    std::string output; // its standard output and error, in a file
};

Child start(const std::string& program, const std::string& preload,
            const std::vector<std::string>& args, const std::string& output) {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // ended with this test, whatever ends it
        setenv("LD_PRELOAD", preload.c_str(), 1);
        std::FILE* out = std::fopen(output.c_str(), "w");
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(out), STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return {pid, output};
}

int finish(const Child& child) {
    int status = 0;
    waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int failures = 0;

void check(bool ok, const std::string& what) {
    std::cout << (ok ? "ok: " : "FAILED: ") << what << std::endl;
    failures += ok ? 0 : 1;
}

// The requests of `unit` in order, each as the procedure must have sent it.
void checkWire(int unit, const std::vector<std::uint8_t>& image) {
    std::vector<std::vector<std::uint8_t>> requests;
    for (const SimExchange& e : simTranscript())
        if (e.device == unit)
            requests.push_back(e.request);
    const std::string name = "unit " + std::to_string(unit);
    check(requests.size() == kRequestsPerUnit,
          name + ": " + std::to_string(requests.size()) + " requests, no other program's");
    if (requests.size() != kRequestsPerUnit)
        return;
    bool blocks = true;
    for (std::size_t block = 0; block < 2038; ++block) {
        const std::size_t bytes = block < 2037 ? 48 : 16;
        blocks = blocks && requests[10 + block][1] == WRITE_BLOCK &&
                 std::equal(requests[10 + block].begin() + 4,
                            requests[10 + block].begin() + 4 + static_cast<long>(bytes),
                            image.begin() + static_cast<long>(48 * block));
    }
    check(requests[6][1] == SYSTEM_LOCK && requests[8][1] == ERASE && blocks &&
              requests.back()[1] == SYSTEM_LOCK,
          name + ": lock, erase, every block of the image in order, release");
    check(simProtocolViolations(unit) == 0, name + ": no request malformed");
    const std::vector<std::uint8_t> flash = simFlash(unit);
    check(flash.size() >= image.size() && std::equal(image.begin(), image.end(), flash.begin()),
          name + ": its flash is the image");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: two_stations PROGRAM PRELOAD RECORD\n";
        return 2;
    }
    const std::string program = argv[1], preload = argv[2], record = argv[3];
    std::remove(record.c_str());
    simReset();
    simSetRealTime(true);
    const std::vector<std::uint8_t> image = standInImage();
    simSetFirmwareImage(image);
    virtualHidrawStart();
    setenv("UMOCKDEV_DIR", g_getenv("UMOCKDEV_DIR"), 1);
    std::vector<std::string> ports;
    for (int n = 0; n < kUnits; ++n) {
        ports.push_back("1-2." + std::to_string(n + 1));
        SimUnitConfig config;
        config.port = std::wstring(ports.back().begin(), ports.back().end());
        config.controllerSerial = 0x5000u + static_cast<std::uint32_t>(n);
        const std::string path = "/dev/hidraw" + std::to_string(n);
        const int unit = simAddUnit(std::wstring(path.begin(), path.end()), config);
        virtualHidrawAdd({n, kUnitVendorId, kProductDockBox, kUnitDescriptor, unit, true, ports.back()});
    }
    auto line = [&](const char* station, int first) {
        std::vector<std::string> args{"update", "--each", "--parallel", "--yes", "--count", "4",
                                      "--wait=20", "--station", station, "--log", record};
        for (int n = first; n < first + 4; ++n)
            args.insert(args.end(), {"--port", ports[static_cast<std::size_t>(n)]});
        return start(program, preload, args, record + "." + station + ".out");
    };
    const Child a = line("A", 0), b = line("B", 4);
    // While A writes its units, a third program asks for A's first socket.
    std::this_thread::sleep_for(std::chrono::seconds(8));
    const Child third = start(program, preload,
                              {"update", "--each", "--yes", "--port", ports[0], "--wait=2"},
                              record + ".third.out");
    const int thirdStatus = finish(third);
    const int aStatus = finish(a), bStatus = finish(b);
    check(aStatus == 0, "station A ended without failure (" + std::to_string(aStatus) + ")\n" +
                            contentOf(a.output));
    check(bStatus == 0, "station B ended without failure (" + std::to_string(bStatus) + ")\n" +
                            contentOf(b.output));
    const std::string thirdSaid = contentOf(third.output);
    check(thirdStatus == 3 && thirdSaid.find("/dev/hidraw0 is in use by another instance") !=
                                  std::string::npos,
          "a third program is told the unit is in use (" + std::to_string(thirdStatus) + ")\n" +
              thirdSaid);
    for (int unit = 0; unit < kUnits; ++unit)
        checkWire(unit, image);
    // At once: each station wrote blocks while the other did.
    std::uint64_t lastOf[2] = {0, 0}, firstOf[2] = {UINT64_MAX, UINT64_MAX};
    for (const SimExchange& e : simTranscript()) {
        if (e.request[1] != WRITE_BLOCK)
            continue;
        const int station = e.device < 4 ? 0 : 1;
        firstOf[station] = std::min(firstOf[station], e.writtenAt);
        lastOf[station] = std::max(lastOf[station], e.writtenAt);
    }
    check(firstOf[0] < lastOf[1] && firstOf[1] < lastOf[0], "both stations wrote at once");
    // One record, both stations, every unit's line whole.
    std::ifstream in(record);
    int linesOfA = 0, linesOfB = 0, whole = 0;
    for (std::string l; std::getline(in, l);) {
        whole += l.front() == '{' && l.back() == '}';
        linesOfA += l.find("\"station\":\"A\"") != std::string::npos;
        linesOfB += l.find("\"station\":\"B\"") != std::string::npos;
    }
    check(linesOfA == 4 && linesOfB == 4 && whole == 8,
          "the shared record holds four lines of each station, each whole");
    virtualHidrawStop();
    for (const char* station : {"A", "B", "third"})
        std::remove((record + "." + station + ".out").c_str());
    std::remove(record.c_str());
    return failures == 0 ? 0 : 1;
}
