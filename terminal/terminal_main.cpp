// The terminal edition's entry for every platform, after each system's own (linux/,
// win32/): the command line, help and version, then a command or the production line.
#include "terminal/terminal.h"

#include "platform/platform.h"
#include "program.h"
#include "resources/resource_ids.h"
#include "session/image_facts.h"
#include "session/presentation.h"
#include "terminal/commands.h"
#include "terminal/line.h"
#include "terminal/report.h"
#include "terminal/shown_text.h"
#include "terminal/station_files.h"

#include <chrono>
#include <ostream>

int terminalMain(const std::vector<std::wstring>& args, const TerminalSetup& given) {
    std::atomic<bool> noInterrupt{false};
    TerminalSetup setup = given;
    if (setup.interrupt == nullptr)
        setup.interrupt = &noInterrupt;
    if (!setup.idle)
        setup.idle = [] { platformWait(kUnitPollMs); };

    TerminalOptions options;
    std::wstring problem;
    if (!parseTerminalArguments(args, setup.language, options, problem)) {
        *setup.err << utf8Lines(formatText(loadText(setup.language, IDS_CLI_USAGE_ERROR),
                                           {shownSafely(problem)}))
                   << '\n'
                   << std::flush;
        return kExitUsage;
    }
    if (options.help) {
        *setup.out << utf8Lines(loadText(setup.language, IDS_CLI_USAGE)) << std::flush;
        return kExitOk;
    }
    const ImageFacts image = embeddedImageFacts();
    if (options.version) {
        *setup.out << PROGRAM_NAME "-cli " PROGRAM_VERSION "\n"
                   << utf8Lines(formatText(loadText(setup.language, IDS_CLI_IMAGE_LINE),
                                           {image.version, static_cast<std::uint32_t>(image.size),
                                            image.sha256}))
                   << '\n';
        if (image.damaged)
            *setup.out << utf8Lines(loadText(setup.language, IDS_IMAGE_DAMAGED)) << '\n';
        *setup.out << std::flush;
        return kExitOk;
    }
    // The station record and the trace open before any unit is touched: a line that
    // could not keep them must not start.
    if (options.command == TerminalCommand::Report)
        return reportCommand(setup, options);
    RecordSource source;
    source.host = setup.hostName;
    source.station = !options.station.empty() ? options.station
                     : !setup.hostName.empty() ? setup.hostName
                                               : L"station";
    source.start = std::chrono::system_clock::now();
    source.processId = setup.processId;
    StationFiles files;
    if (!files.open(options, setup.language, source, problem)) {
        *setup.err << utf8Lines(formatText(loadText(setup.language, IDS_CLI_USAGE_ERROR),
                                           {shownSafely(problem)}))
                   << '\n'
                   << std::flush;
        return kExitUsage;
    }
    // Not one unit is touched to write an image that is not the one that was built; the
    // trace's first line names the image all the same.
    if (image.damaged && options.command == TerminalCommand::Update) {
        *setup.err << utf8Lines(loadText(setup.language, IDS_IMAGE_DAMAGED)) << '\n' << std::flush;
        files.finishTrace();
        return kExitImageDamaged;
    }
    const int status = options.command == TerminalCommand::List
                           ? listCommand(setup, options, files)
                           : runUnits(setup, options, files);
    // Support's trace is not the station's record: a trace cut short ends nothing early.
    if (!files.finishTrace())
        *setup.err << utf8Lines(loadText(setup.language, IDS_CLI_TRACE_FAILED)) << '\n' << std::flush;
    return status;
}
