// Reads the command line, enters a game, plays it and shows the results.
// The key that ends the run is the program's exit status.
#include <cstdio>

#include "console/console.h"
#include "dialogue/command_line.h"
#include "dialogue/print_results.h"
#include "dialogue/run_game.h"
#include "output/output_files.h"
#include "output/report_head.h"
#include "platform/platform.h"
#include "text/translation.h"

namespace {

// A usage error is told on standard error and ends the run before the
// dialogue, with nothing on standard output and the terminal untouched.
[[noreturn]] void endWithUsageError() {
    printError("%s", tr("Try 'brown-robinson --help' for more information.\n"));
    endProgram(2);
}

// Who hands the report in, from the command line, and the day of the run,
// asked of the system only for files that show it.
void fillReportHead(const ReportHead& given, int outputCount) {
    reportHead = given;
    if (outputCount == 0) return;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!platformToday(&year, &month, &day) || year < 1 || year > 9999) return;
    snprintf(reportHead.date, sizeof reportHead.date, "%04d-%02d-%02d", year, month, day);
}

}  // namespace

int main(int argc, char** argv) {
    setLanguage(platformLanguage());
    CommandLine line;
    parseCommandLine(argc, argv, &line);
    startConsole();
    switch (line.action) {
        case kShowHelp:
            printHelp();
            endProgram(0);
        case kShowVersion:
            printVersion();
            endProgram(0);
        case kUsageError:
            printError("brown-robinson: %s\n", line.problem);
            endWithUsageError();
        case kPlayGame:
            break;
    }
    fillReportHead(line.head, line.outputCount);
    if (line.gameFile != nullptr && !useGameFile(line.gameFile)) endWithUsageError();
    if (line.standardInputNamed && !useStandardInputGame()) endWithUsageError();
    if (!prepareOutputFiles(line.outputs, line.outputCount, line.gameFile, knownGame()))
        endWithUsageError();
    const bool reached = runGame(line.iterations, line.accuracyGiven ? &line.accuracy : nullptr);
    endProgram(
        printResults(ReportOptions{line.exact, line.wide, line.steps,
                                   line.accuracyGiven ? line.accuracyText : nullptr, reached}));
}
