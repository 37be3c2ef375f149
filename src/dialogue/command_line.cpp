#include "dialogue/command_line.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "game/accuracy.h"
#include "game/game_record.h"
#include "output/output_formats.h"
#include "text/text_buffer.h"
#include "text/translation.h"

#ifndef BR_VERSION
#error "BR_VERSION must give the program's version"
#endif

namespace {

struct Option {
    const char* name;    // the long option, without its dashes
    char letter;         // the short option
    bool takesArgument;  // the option needs a value
};

const Option kOptions[] = {
    {"exact", 'x', false},   {"wide", 'w', false},  {"iterations", 'n', true},
    {"accuracy", 'e', true}, {"steps", 's', false}, {"output", 'o', true},
    {"author", 'a', true},   {"help", 'h', false},  {"version", 'V', false}};

// `what`, an argument as given, is quoted with its control characters
// shown, so that the message cannot drive the terminal.
bool refuse(CommandLine* line, const char* format, const char* what) {
    line->action = kUsageError;
    snprintf(line->problem, sizeof line->problem, format, shownPath(what));
    return false;
}

// ".svg" or "results/.SVG": an extension alone, without a name before it.
bool isExtensionAlone(const char* path) {
    const char* name = path;
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '/' || *c == '\\') name = c + 1;
    }
    char named[16] = "x";
    const size_t length = std::strlen(name);
    if (name[0] != '.' || length >= sizeof named - 1) return false;
    std::memcpy(named + 1, name, length + 1);
    return outputFormatOf(named) != nullptr;
}

// A whole number from 1 to kMaxLongRun, in decimal digits alone.
bool readIterations(const char* text, CommandLine* line) {
    int64_t value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') value = -1;
        if (value < 0) break;
        value = value * 10 + (*c - '0');
        if (value > kMaxLongRun) break;
    }
    if (text[0] == '\0' || value < 1 || value > kMaxLongRun) {
        return refuse(line, tr("invalid number of iterations: '%s'"), text);
    }
    line->iterations = static_cast<int32_t>(value);
    return true;
}

// A file of a known format; whether it can be written is checked with
// the files of -o (prepareOutputFiles), before the dialogue.
bool readOutput(const char* path, CommandLine* line) {
    if (std::strcmp(path, "-") == 0) {
        return refuse(line, tr("cannot write '%s': an output file needs a name"), path);
    }
    if (isExtensionAlone(path)) {
        return refuse(
            line, tr("cannot write '%s': an output file needs a name before its extension"), path);
    }
    if (outputFormatOf(path) == nullptr) {
        line->action = kUsageError;
        snprintf(line->problem, sizeof line->problem,
                 tr("cannot tell the format of '%s': its name must end in %s"), shownPath(path),
                 outputExtensionList());
        return false;
    }
    if (line->outputCount == kMaxAtomicFiles) {
        return refuse(line, tr("too many output files: '%s'"), path);
    }
    line->outputs[line->outputCount++] = path;
    return true;
}

// A positive decimal number, kept exactly and as it was typed.
bool readAccuracy(const char* text, CommandLine* line) {
    if (!parseAccuracy(text, &line->accuracy)) {
        return refuse(line,
                      tr("invalid accuracy: '%s' (a positive decimal number, at most 9 decimals)"),
                      text);
    }
    line->accuracyGiven = true;
    line->accuracyText = text;
    return true;
}

// Who hands the report in, as a name is taken: a bounded text a terminal
// shows as it is, with no code that would drive it instead.
bool readAuthor(const char* text, CommandLine* line) {
    const int length = textLength(text);
    if (length == 0 || length > kMaxAuthorLength) {
        line->action = kUsageError;
        snprintf(line->problem, sizeof line->problem, tr("invalid author: '%s' (1 to %d bytes)"),
                 text, kMaxAuthorLength);
        return false;
    }
    if (answerHoldsControlCode(text, length)) {
        line->action = kUsageError;
        snprintf(line->problem, sizeof line->problem,
                 tr("invalid author: a control character in argument %d"),
                 line->head.authorCount + 1);
        return false;
    }
    if (line->head.authorCount == kMaxAuthors) {
        line->action = kUsageError;
        snprintf(line->problem, sizeof line->problem, tr("too many authors: '%s' (at most %d)"),
                 text, kMaxAuthors);
        return false;
    }
    line->head.authors[line->head.authorCount++] = text;
    return true;
}

// Takes an option with its argument.
bool applyOptionWithArgument(char letter, const char* argument, CommandLine* line) {
    switch (letter) {
        case 'n':
            return readIterations(argument, line);
        case 'e':
            return readAccuracy(argument, line);
        case 'a':
            return readAuthor(argument, line);
        default:
            return readOutput(argument, line);
    }
}

// Takes the option; false when it ends the reading of the command line.
bool applyOption(char letter, CommandLine* line) {
    switch (letter) {
        case 'x':
            line->exact = true;
            return true;
        case 'w':
            line->wide = true;
            return true;
        case 's':
            line->steps = true;
            return true;
        case 'h':
            line->action = kShowHelp;
            return false;
        default:
            line->action = kShowVersion;
            return false;
    }
}

// The arguments and where the reading stands among them.
struct Arguments {
    int count;
    char** values;
    int next;  // the index of the argument after the one being read
};

// The option a long name names: the one it spells out, else the only one
// it is the beginning of. Null, with the problem told, for none or several.
const Option* longOptionNamed(const char* argument, size_t length, CommandLine* line) {
    const char* name = argument + 2;
    const Option* found = nullptr;
    int beginnings = 0;
    for (const Option& option : kOptions) {
        if (length == 0 || std::strncmp(option.name, name, length) != 0) continue;
        if (option.name[length] == '\0') return &option;
        found = &option;
        ++beginnings;
    }
    if (beginnings == 1) return found;
    if (beginnings == 0) refuse(line, tr("unrecognized option '%s'"), argument);
    if (beginnings > 1) {
        line->action = kUsageError;
        snprintf(line->problem, sizeof line->problem, tr("option '--%.*s' is ambiguous"),
                 static_cast<int>(length), name);
    }
    return nullptr;
}

// "--name", "--name=value" or "--name value"; the name may be cut short
// while it is the beginning of one option only.
bool readLongOption(const char* argument, Arguments* arguments, CommandLine* line) {
    const char* name = argument + 2;
    const char* equals = std::strchr(name, '=');
    const size_t length =
        equals != nullptr ? static_cast<size_t>(equals - name) : std::strlen(name);
    const Option* option = longOptionNamed(argument, length, line);
    if (option == nullptr) return false;
    if (!option->takesArgument) {
        if (equals != nullptr)
            return refuse(line, tr("option '--%s' doesn't allow an argument"), option->name);
        return applyOption(option->letter, line);
    }
    if (equals != nullptr) return applyOptionWithArgument(option->letter, equals + 1, line);
    if (arguments->next == arguments->count)
        return refuse(line, tr("option '--%s' requires an argument"), option->name);
    return applyOptionWithArgument(option->letter, arguments->values[arguments->next++], line);
}

// "-xw": each letter an option of its own; an option that takes an
// argument takes the rest of the word ("-n100") or else the next one.
bool readShortOptions(const char* argument, Arguments* arguments, CommandLine* line) {
    for (const char* letter = argument + 1; *letter != '\0'; ++letter) {
        const Option* found = nullptr;
        for (const Option& option : kOptions) {
            if (option.letter == *letter) found = &option;
        }
        const char unknown[2] = {*letter, '\0'};
        if (found == nullptr) return refuse(line, tr("invalid option -- '%s'"), unknown);
        if (!found->takesArgument) {
            if (!applyOption(*letter, line)) return false;
            continue;
        }
        if (letter[1] != '\0') return applyOptionWithArgument(*letter, letter + 1, line);
        if (arguments->next == arguments->count)
            return refuse(line, tr("option requires an argument -- '%s'"), unknown);
        return applyOptionWithArgument(*letter, arguments->values[arguments->next++], line);
    }
    return true;
}

bool readOperand(const char* argument, CommandLine* line, bool* fileSeen) {
    if (*fileSeen) return refuse(line, tr("extra operand '%s'"), argument);
    *fileSeen = true;
    line->standardInputNamed = std::strcmp(argument, "-") == 0;
    line->gameFile = line->standardInputNamed ? nullptr : argument;
    return true;
}

}  // namespace

void parseCommandLine(int argc, char** argv, CommandLine* line) {
    *line = CommandLine{};
    line->action = kPlayGame;
    bool optionsEnded = false;
    bool fileSeen = false;
    Arguments arguments = {argc, argv, 1};
    while (arguments.next < argc) {
        const char* argument = argv[arguments.next++];
        bool goOn = true;
        if (optionsEnded || argument[0] != '-' || argument[1] == '\0') {
            goOn = readOperand(argument, line, &fileSeen);
        } else if (std::strcmp(argument, "--") == 0) {
            optionsEnded = true;
        } else if (argument[1] == '-') {
            goOn = readLongOption(argument, &arguments, line);
        } else {
            goOn = readShortOptions(argument, &arguments, line);
        }
        if (!goOn) return;
    }
}

void printHelp() {
    printText("%s", tr("Usage: brown-robinson [OPTION]... [GAME-FILE]\n"));
    printText("%s",
              tr("Solve a two-person zero-sum matrix game approximately by fictitious play.\n"));
    printText("\n");
    printText("%s",
              tr("  -x, --exact           also print the exact solution and how far the play\n"
                 "                          is from it\n"
                 "  -w, --wide            show every strategy and both estimates in the table\n"
                 "  -n, --iterations=N    play N iterations (1 to 10000000) instead of asking\n"
                 "  -e, --accuracy=EPS    play until the upper and the lower estimate of an\n"
                 "                          iteration are at most EPS apart (at most N, or\n"
                 "                          10000000, iterations) instead of asking\n"
                 "  -s, --steps           also solve the game step by step: the prices in pure\n"
                 "                          strategies, dominance, the graphical solution\n"
                 "  -a, --author=TEXT     who hands the report in (a name, a group, a course),\n"
                 "                          at the top of the page and in the picture; up to 4,\n"
                 "                          each at most 40 bytes\n"
                 "  -o, --output=FILE     also write FILE, in the format its extension names:\n"
                 "                          .svg   a picture of the estimates and bounds\n"
                 "                          .graph.svg  the graphical solution, for a game\n"
                 "                                 with two strategies left to a player\n"
                 "                          .html  a page of the whole run, to print or hand in\n"
                 "                          .csv   every iteration as comma-separated values\n"
                 "                          .nfg   the game as typed, as a Gambit game file\n"
                 "                          .game  the game as typed, as a GAME-FILE\n"
                 "                        (may be given more than once)\n"
                 "  -h, --help            display this help and exit\n"
                 "  -V, --version         output version information and exit\n"));
    printText("\n");
    printText("%s",
              tr("GAME-FILE holds answers to the program's questions as they would be typed:\n"
                 "names, numbers of strategies, matrix entries and so on, separated by spaces\n"
                 "or line ends. It is read first; when it ends, the answers come from standard\n"
                 "input. With no GAME-FILE, or when GAME-FILE is -, they all come from standard\n"
                 "input. At a terminal the single keys are read from the terminal itself.\n"
                 "A GAME-FILE beginning with NFG 1 R is a Gambit strategic game file (.nfg)\n"
                 "of a two-person zero-sum or constant-sum game: it answers the names, the\n"
                 "numbers of strategies and the matrix (player 1's payoffs).\n"));
    printText("\n");
    printText("%s", tr("Exit status:\n"
                       " the code of the key that ended the program,\n"
                       " 1  if the input ended before the game was complete or could not be read,\n"
                       "    or the output failed,\n"
                       " 2  if the command line was wrong.\n"));
    printText("\n");
    printText("%s", tr("See brown-robinson(1).\n"));
}

void printVersion() {
    printText("brown-robinson %s\n", BR_VERSION);
    printText("%s", tr("Copyright (C) 2026 the brown-robinson developers.\n"));
    printText("%s",
              tr("License MIT: <https://opensource.org/licenses/MIT>; there is NO WARRANTY.\n"));
}
