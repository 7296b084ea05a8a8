// Station records read back: one line as the flat JSON object it was written as, for the
// supervisor's report. Whatever does not parse (a line cut off, a line of something else,
// a nested value) is no record.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct RecordValue {
    enum Kind { Text, Number, Flag, Null } kind = Null;
    std::string text; // UTF-8, unescaped; a number's digits as written
    bool flag = false;
};

// One object of texts, numbers, flags and nulls, as `fields` by name; false for anything
// else, or anything but blanks after it.
bool readRecordLine(const std::string& line, std::map<std::string, RecordValue>& fields);
// The inverse of utcTimestamp(): milliseconds since 1970 of "2026-12-09T06:25:01.123Z".
bool parseUtcTimestamp(const std::string& text, std::int64_t& ms);
