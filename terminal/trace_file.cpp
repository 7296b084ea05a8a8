#include "terminal/trace_file.h"

#include "platform/platform.h"
#include "program.h"
#include "session/image_facts.h"
#include "session/json.h"
#include "terminal/station_record.h"

#include <chrono>

namespace {

// Lines gather in memory up to this much before the writer is woken; it also writes
// whatever has gathered every quarter second.
constexpr std::size_t kWakeWriterBytes = 256 * 1024;
constexpr auto kWriteEvery = std::chrono::milliseconds(250);

std::uint64_t since(std::int64_t us, std::int64_t start) {
    return us > start ? static_cast<std::uint64_t>(us - start) : 0;
}

std::string eventLine(const std::wstring& port, const std::wstring& device, std::uint64_t us,
                      const WireEvent& event) {
    JsonObject line;
    line.number("us", us).text("port", port).text("device", device);
    switch (event.kind) {
    case WireEventKind::Sent:
        line.word("sent", hexText(event.bytes, event.length).c_str());
        break;
    case WireEventKind::NotSent:
        line.word("notSent", hexText(event.bytes, event.length).c_str());
        break;
    case WireEventKind::Received:
        line.word("received", hexText(event.bytes, event.length).c_str());
        break;
    case WireEventKind::NotReceived:
        line.flag("notReceived", true);
        break;
    case WireEventKind::Waited:
        line.number("waitAskedMs", event.askedMs).number("waitMeasuredUs", since(event.measuredUs, 0));
        break;
    }
    if (event.kind == WireEventKind::NotSent || event.kind == WireEventKind::NotReceived)
        line.number("error", event.error);
    return line.str() + "\n";
}

} // namespace

FileOpening TraceFile::open(const std::wstring& path, std::wstring& reason) {
    const FileOpening opening = file_.open(path, reason);
    if (opening != FileOpening::Opened)
        return opening;
    startUs_ = platformMicroseconds();
    const ImageFacts image = embeddedImageFacts();
    JsonObject start;
    start.number("us", 0)
        .word("time", utcTimestamp(std::chrono::system_clock::now()).c_str())
        .word("program", PROGRAM_NAME "-cli " PROGRAM_VERSION)
        .text("imageVersion", image.version)
        .number("imageSize", image.size)
        .text("imageSha256", image.sha256);
    pending_ = start.str() + "\n";
    writer_ = std::thread([this] { writeOut(); });
    return FileOpening::Opened;
}

WireTrace TraceFile::follow() {
    // The port is looked up once per unit the record opens, not once per report.
    return [this, device = std::wstring(), port = std::wstring(),
            known = false](const WireEvent& event) mutable {
        if (!known || *event.device != device) {
            device = *event.device;
            port = device.empty() ? std::wstring() : platformPortOf(device);
            known = true;
        }
        take(eventLine(port, device, since(event.atUs, startUs_), event));
    };
}

void TraceFile::result(const std::wstring& port, const std::wstring& device, UnitResult result,
                       const std::wstring& failure) {
    if (!isOpen())
        return;
    JsonObject line;
    line.number("us", since(platformMicroseconds(), startUs_))
        .text("port", port)
        .text("device", device)
        .word("result", resultName(result))
        .text("codeLine", result == UnitResult::Failed ? codeLine(failure) : std::wstring());
    take(line.str() + "\n");
}

void TraceFile::take(const std::string& line) {
    std::lock_guard<std::mutex> held(lock_);
    if (stopping_)
        return;
    pending_ += line;
    if (pending_.size() >= kWakeWriterBytes)
        wake_.notify_one();
}

void TraceFile::writeOut() {
    std::unique_lock<std::mutex> held(lock_);
    for (;;) {
        wake_.wait_for(held, kWriteEvery,
                       [this] { return stopping_ || pending_.size() >= kWakeWriterBytes; });
        std::string chunk;
        chunk.swap(pending_);
        const bool last = stopping_;
        held.unlock();
        // Whole lines in one write: another station's trace in the same file never cuts one.
        const bool written = chunk.empty() || file_.append(chunk, false);
        held.lock();
        failed_ = failed_ || !written;
        if (last)
            return;
    }
}

bool TraceFile::finish() {
    if (!writer_.joinable())
        return !failed_;
    {
        std::lock_guard<std::mutex> held(lock_);
        stopping_ = true;
    }
    wake_.notify_one();
    writer_.join();
    return !failed_;
}
