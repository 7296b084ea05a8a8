// Feeds the core arbitrary units through identification and a whole update: the unit's
// product ID and declared report lengths (0 to 65,535), the list, attribute and capability
// failures, failing transfers and changed answer bytes all come from the input; the
// simulated unit answers everything else. Checks what the unit and the user rely on, and
// stops the process on the first breach.
#include "platform/platform.h"
#include "sim/sim_unit.h"
#include "unitlink/unit_connection.h"
#include "update/update_procedure.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

// The input, read front to back; zeros once it runs out.
struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    std::uint16_t word() {
        const std::uint8_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    // What to do to the next transfer; nothing once the input runs out.
    std::uint8_t op() { return at < size ? data[at++] : 0xFF; }
};

constexpr DeviceHandle kHandle = 0x7A;
constexpr std::uint32_t kSimLongest = 60;

struct Run {
    Input input{nullptr, 0};
    std::uint16_t productId = 0;
    std::uint32_t outputLength = 0, inputLength = 0;
    bool listAvailable = true, attributesReadable = true, capabilitiesReadable = true;
    bool declineFirst = false, declineSecond = false;
    int simUnit = -1;
    int openHandles = 0;
    bool awaitingAnswer = false;
    int outcomes = 0;
    bool failed = false;
    std::uint32_t blocks = 0;
    std::int64_t lastPercent = -1;
    bool declined = false;
    std::uint32_t lastError = 0;
};

Run run;

bool fail(std::uint32_t error) {
    run.lastError = error;
    return false;
}

} // namespace

bool platformListHidInterfaces(std::vector<std::wstring>& paths) {
    paths.clear();
    if (!run.listAvailable)
        return fail(87);
    paths.push_back(L"fuzz");
    return true;
}

bool platformSamePath(const std::wstring& a, const std::wstring& b) {
    return a == b;
}

DeviceHandle platformOpenDevice(const std::wstring&) {
    ++run.openHandles;
    return kHandle;
}

bool platformGetAttributes(DeviceHandle device, std::uint16_t& vendorId, std::uint16_t& productId) {
    check(device == kHandle, "attributes of an open device");
    if (!run.attributesReadable)
        return fail(1167);
    vendorId = kUnitVendorId;
    productId = run.productId;
    return true;
}

bool platformGetReportLengths(DeviceHandle device, std::uint32_t& output, std::uint32_t& input) {
    check(device == kHandle, "lengths of an open device");
    if (!run.capabilitiesReadable)
        return fail(1167);
    output = run.outputLength;
    input = run.inputLength;
    return true;
}

void platformFlushInput(DeviceHandle) {}

bool platformWriteReport(DeviceHandle device, const std::uint8_t* report, std::size_t length,
                         std::uint32_t) {
    check(device == kHandle && run.openHandles == 1, "writes go to the one open unit");
    check(!run.failed, "nothing is sent after a failure");
    check(!run.awaitingAnswer, "one read per write");
    check(length == run.outputLength, "a whole report of the declared output length");
    check(length >= kMinOutputReportLength, "no report shorter than the frame");
    check(report[0] == kOutputReportId, "report ID 1");
    for (std::size_t i = kReportSize; i < length; ++i)
        check(report[i] == 0, "zeros past byte 60");
    if (report[1] == WRITE_BLOCK)
        check(++run.blocks <= 2038, "no more than 2,038 blocks");
    const std::uint8_t op = run.input.op();
    if (op < 4)
        return fail(op + 1u);
    if (!simUnitTakeRequest(run.simUnit, report, std::min<std::size_t>(length, kSimLongest)))
        return fail(simLastErrorValue());
    run.awaitingAnswer = true;
    return true;
}

bool platformReadReport(DeviceHandle device, std::uint8_t* report, std::size_t length,
                        std::uint32_t) {
    check(device == kHandle && run.openHandles == 1, "reads come from the one open unit");
    check(run.awaitingAnswer, "one read per write");
    check(length == run.inputLength, "a read of the declared input length");
    run.awaitingAnswer = false;
    std::memset(report, 0, length);
    std::uint8_t answer[kSimLongest] = {};
    const std::size_t simLength = std::min<std::size_t>(length, kSimLongest);
    if (simUnitGiveAnswer(run.simUnit, answer, simLength) != SimAnswerResult::Answered)
        return fail(simLastErrorValue());
    std::memcpy(report, answer, simLength);
    const std::uint8_t op = run.input.op();
    if (op < 4)
        return fail(op + 1u);
    if (op < 16) { // the unit says something else at one place
        const std::uint8_t offset = run.input.byte();
        report[offset % length] = run.input.byte();
    }
    return true;
}

void platformCloseDevice(DeviceHandle device) {
    check(device == kHandle && run.openHandles > 0, "closes what was opened");
    --run.openHandles;
}

std::uint32_t platformLastError() {
    return run.lastError;
}

// A read returns as its report arrives.
WaitDeadline platformDeadlineAfterAnswer(DeviceHandle, std::uint32_t ms) {
    return platformDeadline(ms);
}

void platformSetLastError(std::uint32_t error) {
    run.lastError = error;
}

// The update's feedback, as the window would give it.
std::wstring loadText(Language, unsigned id) {
    return L"#" + std::to_wstring(id);
}

Language interfaceLanguage() {
    return Language::English;
}

namespace {

UnitConnection unitConnection;

UpdateFeedback fuzzFeedback() {
    UpdateFeedback f;
    f.confirm = [](Confirmation question, const std::wstring&, const std::wstring&) {
        const bool accepted =
            question == Confirmation::Update ? !run.declineFirst : !run.declineSecond;
        run.declined = run.declined || !accepted;
        return accepted;
    };
    f.openProgress = [] { return FeedbackWindow{&run}; };
    f.setProgress = [](FeedbackWindow, std::uint32_t total, std::uint32_t remaining) {
        const std::int64_t percent = progressPercent(total, remaining);
        check(percent >= run.lastPercent, "progress never falls");
        check(percent <= 100 && (percent < 100 || remaining == 0), "100 only when nothing remains");
        run.lastPercent = percent;
    };
    f.keepOnTop = [](FeedbackWindow, FeedbackWindow&) {};
    f.closeProgress = [](FeedbackWindow) {};
    f.reportFailure = [](const std::wstring&, const std::wstring&, std::int32_t, std::uint32_t) {
        ++run.outcomes;
        run.failed = true;
        closeUnit(unitConnection);
    };
    f.reportSuccess = [] { ++run.outcomes; };
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    run = Run{};
    run.input = Input{data, size};
    run.productId = run.input.word();
    run.outputLength = run.input.word();
    run.inputLength = run.input.word();
    const std::uint8_t flags = run.input.byte();
    run.listAvailable = !(flags & 1);
    run.attributesReadable = !(flags & 2);
    run.capabilitiesReadable = !(flags & 4);
    run.declineFirst = flags & 8;
    run.declineSecond = flags & 16;

    SimUnitConfig config;
    config.unitInBootloader = flags & 32;
    config.escState = run.input.byte();
    config.typeCode = (flags & 64) ? 0x0A06405A : 0x1422605A;
    config.escFirmwareVersion = run.input.word();
    config.outputReportLength = std::min(run.outputLength, kSimLongest);
    config.inputReportLength = std::min(run.inputLength, kSimLongest);
    simReset();
    run.simUnit = simAddUnit(L"fuzz", config);
    simSetFirmwareImage(std::vector<std::uint8_t>(97792, 0x5A));
    closeUnit(unitConnection);

    const std::int32_t opened = openUnit(unitConnection);
    check(run.openHandles == (unitIsOpen(unitConnection) ? 1 : 0), "handles balanced after open");
    if (opened == kExchangeOk) {
        runUpdate(unitConnection, Language::English, fuzzFeedback());
        check(run.outcomes == (run.declined ? 0 : 1), "exactly one outcome, unless declined");
        check(!run.awaitingAnswer, "every request's answer read");
    }
    closeUnit(unitConnection);
    check(run.openHandles == 0, "handles balanced at the end");
    return 0;
}
