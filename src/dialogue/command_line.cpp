#include "dialogue/command_line.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"

#ifndef BR_VERSION
#error "BR_VERSION must give the program's version"
#endif

namespace {

struct Option {
    char letter;
    const char* name;
};

const Option kOptions[] = {{'x', "exact"}, {'w', "wide"}, {'h', "help"}, {'V', "version"}};

// Takes the option; false when it ends the reading of the command line.
bool applyOption(char letter, CommandLine* line) {
    switch (letter) {
        case 'x':
            line->exact = true;
            return true;
        case 'w':
            line->wide = true;
            return true;
        case 'h':
            line->action = kShowHelp;
            return false;
        default:
            line->action = kShowVersion;
            return false;
    }
}

bool refuse(CommandLine* line, const char* format, const char* what) {
    line->action = kUsageError;
    snprintf(line->problem, sizeof line->problem, format, what);
    return false;
}

// "--name" or "--name=value"; the name may be cut short while it names
// one option only (no two of ours begin alike).
bool readLongOption(const char* argument, CommandLine* line) {
    const char* name = argument + 2;
    const char* equals = std::strchr(name, '=');
    const size_t length =
        equals != nullptr ? static_cast<size_t>(equals - name) : std::strlen(name);
    for (const Option& option : kOptions) {
        if (length == 0 || std::strncmp(option.name, name, length) != 0) continue;
        if (equals != nullptr)
            return refuse(line, "option '--%s' doesn't allow an argument", option.name);
        return applyOption(option.letter, line);
    }
    return refuse(line, "unrecognized option '%s'", argument);
}

// "-xw": each letter an option of its own.
bool readShortOptions(const char* argument, CommandLine* line) {
    for (const char* letter = argument + 1; *letter != '\0'; ++letter) {
        bool known = false;
        for (const Option& option : kOptions) known = known || option.letter == *letter;
        const char unknown[2] = {*letter, '\0'};
        if (!known) return refuse(line, "invalid option -- '%s'", unknown);
        if (!applyOption(*letter, line)) return false;
    }
    return true;
}

bool readOperand(const char* argument, CommandLine* line, bool* fileSeen) {
    if (*fileSeen) return refuse(line, "extra operand '%s'", argument);
    *fileSeen = true;
    line->gameFile = std::strcmp(argument, "-") == 0 ? nullptr : argument;
    return true;
}

}  // namespace

void parseCommandLine(int argc, char** argv, CommandLine* line) {
    *line = CommandLine{kPlayGame, false, false, nullptr, {0}};
    bool optionsEnded = false;
    bool fileSeen = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        bool goOn = true;
        if (optionsEnded || argument[0] != '-' || argument[1] == '\0') {
            goOn = readOperand(argument, line, &fileSeen);
        } else if (std::strcmp(argument, "--") == 0) {
            optionsEnded = true;
        } else if (argument[1] == '-') {
            goOn = readLongOption(argument, line);
        } else {
            goOn = readShortOptions(argument, line);
        }
        if (!goOn) return;
    }
}

void printHelp() {
    static const char* const kHelp[] = {
        "Usage: brown-robinson [OPTION]... [GAME-FILE]\n",
        "Solve a two-person zero-sum matrix game approximately by fictitious play.\n",
        "\n",
        "  -x, --exact    also print the exact solution and how far the play is from it\n",
        "  -w, --wide     show every strategy and both estimates in the table\n",
        "  -h, --help     display this help and exit\n",
        "  -V, --version  output version information and exit\n",
        "\n",
        "GAME-FILE holds answers to the program's questions as they would be typed:\n",
        "names, numbers of strategies, matrix entries and so on, separated by spaces\n",
        "or line ends. It is read first; when it ends, the answers come from standard\n",
        "input. With no GAME-FILE, or when GAME-FILE is -, they all come from standard\n",
        "input. At a terminal the single keys are read from the terminal itself.\n",
        "\n",
        "Exit status:\n",
        " the code of the key that ended the program,\n",
        " 1  if the input ended before the game was complete or could not be read,\n",
        "    or the output failed,\n",
        " 2  if the command line was wrong.\n",
        "\n",
        "See brown-robinson(1).\n",
    };
    for (const char* line : kHelp) printText("%s", line);
}

void printVersion() {
    printText("brown-robinson %s\n", BR_VERSION);
    printText("Copyright (C) 2026 the brown-robinson developers.\n");
    printText("License MIT: <https://opensource.org/licenses/MIT>; there is NO WARRANTY.\n");
}
