// The command line: brown-robinson [OPTION]... [GAME-FILE], read the GNU
// way (options before or after the file, short options bundled, long ones
// by any unambiguous beginning, `--` ending the options).
#pragma once

#include <cstdint>

#include "game/accuracy.h"
#include "output/report_head.h"
#include "platform/atomic_file.h"

enum CommandAction {
    kPlayGame,
    kShowHelp,
    kShowVersion,
    kUsageError,
};

struct CommandLine {
    CommandAction action;
    bool exact;                            // -x, --exact: the exact solution after the table
    bool wide;                             // -w, --wide: every strategy in the table
    int32_t iterations;                    // -n, --iterations: how many to play; 0 to ask
    bool accuracyGiven;                    // -e, --accuracy: play until the estimates are close
    Accuracy accuracy;                     // with accuracyGiven: how close, exactly
    const char* accuracyText;              // with accuracyGiven: as it was typed
    bool steps;                            // -s, --steps: the solution step by step
    const char* outputs[kMaxAtomicFiles];  // -o, --output: the files to write, in order
    int outputCount;                       // how many of outputs are given
    ReportHead head;                       // -a, --author: who hands the report in; no date yet
    const char* gameFile;                  // the answers to read first; nullptr for none ("-" too)
    bool standardInputNamed;               // "-" was given: standard input may be a Gambit file
    char problem[4400];                    // with kUsageError: what is wrong with the command line
};

// Reads the arguments. --help and --version take effect where they stand,
// as the first wrong argument does: what comes after them is not read.
void parseCommandLine(int argc, char** argv, CommandLine* line);

// The texts of --help and --version, on standard output.
void printHelp();
void printVersion();
