// What a station keeps on its disk besides standard output: the record (--log) and
// support's trace (--trace), each absent unless asked for.
#pragma once

#include "terminal/record_file.h"
#include "terminal/trace_file.h"

struct StationFiles {
    RecordFile* record = nullptr;
    TraceFile* trace = nullptr;
};
