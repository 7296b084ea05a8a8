#include "terminal/station_record.h"

#include "program.h"
#include "session/json.h"

#include <cstdio>

namespace {

// The civil date of a day counted from 1970-01-01 (proleptic Gregorian).
void civilDate(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

} // namespace

std::wstring codeLine(const std::wstring& failure) {
    const std::size_t last = failure.rfind(L"\r\n");
    return last == std::wstring::npos ? failure : failure.substr(last + 2);
}

std::string utcTimestamp(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    const std::int64_t ms = duration_cast<milliseconds>(moment.time_since_epoch()).count();
    std::int64_t days = ms / 86400000;
    std::int64_t inDay = ms % 86400000;
    if (inDay < 0) {
        inDay += 86400000;
        --days;
    }
    std::int64_t year = 0;
    unsigned month = 0, day = 0;
    civilDate(days, year, month, day);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02u.%03uZ",
                  static_cast<long long>(year), month, day,
                  static_cast<unsigned>(inDay / 3600000), static_cast<unsigned>(inDay / 60000 % 60),
                  static_cast<unsigned>(inDay / 1000 % 60), static_cast<unsigned>(inDay % 1000));
    return text;
}

std::string hexText(const std::uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string controllerKey(const UnitIdentity& identity) {
    UnitIdentity key = identity;
    key.controllerInfo[4] = key.controllerInfo[5] = 0;
    std::string text = hexText(key.controllerInfo, sizeof key.controllerInfo) +
                       hexText(key.bootInfo, sizeof key.bootInfo);
    return text.find_first_not_of('0') == std::string::npos ? std::string() : text;
}

std::wstring recordId(const RecordSource& source, std::uint64_t sequence) {
    std::wstring compact;
    for (char c : utcTimestamp(source.start))
        if (c != '-' && c != ':')
            compact += static_cast<wchar_t>(c);
    return source.station + L"/" + compact + L"-" + std::to_wstring(source.processId) + L"/" +
           std::to_wstring(sequence);
}

std::string stationLine(const RecordSource& source, const StationEntry& e) {
    const UnitIdentity& id = e.identity;
    char word[9];
    std::snprintf(word, sizeof word, "%08x", static_cast<unsigned>(id.identityWord));
    JsonObject line;
    line.word("time", utcTimestamp(e.finishedAt).c_str())
        .text("id", e.id)
        .text("station", source.station)
        .text("host", source.host)
        .word("program", PROGRAM_NAME "-cli")
        .word("programVersion", PROGRAM_VERSION)
        .text("port", e.port)
        .text("device", e.device)
        .text("product", e.product)
        .text("unit", e.unit)
        .text("bootloader", e.bootloader)
        .text("controller", e.controller)
        .word("result", resultName(e.result))
        .text("codeLine", e.result == UnitResult::Failed ? codeLine(e.failure) : std::wstring())
        .flag("repeat", e.repeat)
        .word("seen", utcTimestamp(e.seenAt).c_str())
        .word("started", utcTimestamp(e.startedAt).c_str())
        .number("durationMs", e.durationMs)
        .text("imageVersion", e.image.version)
        .number("imageSize", e.image.size)
        .text("imageSha256", e.image.sha256)
        .word("identityWord", word)
        .word("bootIdentity", hexText(id.bootIdentity, sizeof id.bootIdentity).c_str())
        .word("controllerInfo", hexText(id.controllerInfo, sizeof id.controllerInfo).c_str())
        .word("bootInfo", hexText(id.bootInfo, sizeof id.bootInfo).c_str());
    return line.str() + "\n";
}

std::string unpluggedLine(const RecordSource& source, const std::wstring& id,
                          const std::wstring& port, const std::wstring& device,
                          std::chrono::system_clock::time_point time) {
    JsonObject line;
    line.word("time", utcTimestamp(time).c_str())
        .text("id", id)
        .text("station", source.station)
        .text("port", port)
        .text("device", device)
        .word("event", "unplugged");
    return line.str() + "\n";
}
