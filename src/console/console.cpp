#include "console/console.h"
#include "text/translation.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "input/game_file.h"
#include "input/nfg_answers.h"
#include "input/text_input.h"
#include "platform/platform.h"
#include "text/characters.h"
#include "text/text_format.h"

namespace {

// Bytes read ahead, before the dialogue took any: the answers of a Gambit
// file, or what was read to tell whether the input is one.
struct ReadAhead {
    const char* bytes;  // those not handed out yet
    int length;         // how many
    bool fromFile;      // they are a game file's answers, shown as they are taken
};

// Everything the console keeps between calls.
struct Console {
    KeyPress lastKey;    // the key last read: its second code waits here for the next readKey
    int codesHandedOut;  // how many of lastKey's codes readKey has returned
    // The answers: those of the game file first, if there is one, then
    // those on standard input, as if the two were one stream, but for the
    // end of the file, which ends a line.
    TextInput answers;
    ReadAhead readAhead[2];    // handed out before anything more is read, in order
    int gameFile;              // the game file still being read; -1 for none
    const char* gameFilePath;  // its name, as the command line gave it
    bool fileEndedLine;        // the game file's last byte read was a line end (or none was read)
    bool bufferFromFile;       // the bytes in the answers' buffer came from the game file
    // The answer being read, shown as it is taken from the game file. Its
    // leading blanks and its line end are not shown.
    bool answerOpen;   // an answer is being read
    bool answerShown;  // some of it has been shown
};

Console console = {KeyPress{}, 0, TextInput{}, {}, -1, "", true, false, false, false};

int takeFromFile(const char* buffer, int got) {
    console.bufferFromFile = true;
    console.fileEndedLine = buffer[got - 1] == '\n';
    return got;
}

// A letter of several bytes in UTF-8 shows whole in any locale, as the
// name it belongs to is printed; a byte of the C locale's C1 range alone
// would shift an 8-bit terminal and shows in caret form.
void showFileAnswer(void*, const char* bytes, int length) {
    if (!console.answerOpen || !console.bufferFromFile) return;
    for (int i = 0; i < length; ++i) {
        const int c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n' || c == '\r' || (!console.answerShown && isBlank(c))) continue;
        console.answerShown = true;
        const int sequence = answerSequenceLength(bytes + i, length - i);
        if (sequence > 0) {
            platformWriteOutput(bytes + i, sequence);
            i += sequence - 1;  // the loop steps over its last byte
        } else {
            char text[5];
            platformWriteOutput(text, answerByteText(c, platformHighCodeEcho(), text));
        }
    }
}

void openAnswer() {
    if (console.answerOpen) return;
    skipTakenBytes(&console.answers);
    console.answerOpen = true;
    console.answerShown = false;
}

// A text may be long (a path on the command line, a long answer): it is
// written in pieces rather than cut.
void printFormatted(void (*write)(const char* text, int length), const char* format, va_list args) {
    writeFormatted(write, format, args);
}

// A file that fails in the middle would leave the game half entered from
// it; better to stop and say so than to go on with other answers.
int readFromGameFile(char* buffer, int capacity) {
    const int got = readGameFile(console.gameFile, buffer, capacity);
    if (got < 0) {
        printError(tr("brown-robinson: cannot read '%s': %s\n"), shownPath(console.gameFilePath),
                   std::strerror(errno));
        endProgram(1);
    }
    return got;
}

// The next bytes read ahead, if any are left.
int takeReadAhead(char* buffer, int capacity) {
    for (ReadAhead& ahead : console.readAhead) {
        if (ahead.length == 0) continue;
        const int count = ahead.length < capacity ? ahead.length : capacity;
        std::memcpy(buffer, ahead.bytes, count);
        ahead.bytes += count;
        ahead.length -= count;
        if (ahead.fromFile) return takeFromFile(buffer, count);
        console.bufferFromFile = false;
        return count;
    }
    return 0;
}

int readAnswers(void*, char* buffer, int capacity) {
    const int ahead = takeReadAhead(buffer, capacity);
    if (ahead > 0) return ahead;
    if (console.gameFile >= 0) {
        const int got = readFromGameFile(buffer, capacity);
        if (got > 0) return takeFromFile(buffer, got);
        closeGameFile(console.gameFile);
        console.gameFile = -1;
        // Nothing of the file's last line runs on into what is typed next.
        if (!console.fileEndedLine) {
            buffer[0] = '\n';
            return takeFromFile(buffer, 1);
        }
    }
    console.bufferFromFile = false;
    // Whatever has been asked is on the screen before the wait for the
    // answer, wherever standard output goes.
    platformFlushOutput();
    for (;;) {
        const int got = platformReadInput(buffer, capacity);
        // Not the end of the answers: that would be reported as an input
        // that ended, and the reason lost.
        if (got < 0) {
            printError(tr("brown-robinson: cannot read standard input: %s\n"),
                       std::strerror(errno));
            endProgram(1);
        }
        if (got == 0) return 0;
        const int kept = dropPasteMarkers(buffer, got);
        if (kept > 0) return kept;
    }
}

// The keys of a scripted run (no console) come from the answers, one
// non-blank character each.
bool readKeyFromInput(KeyPress* key) {
    const int c = scanNonBlank(&console.answers);
    *key = KeyPress{{c, 0}, 1, {0}, 0};
    return c != EOF;
}

ScanStatus noticeEnd(ScanStatus status) {
    if (status == kScanEnd) platformInputEnded();
    return status;
}

int readFileBytes(void* file, char* buffer, int capacity) {
    return readGameFile(*static_cast<int*>(file), buffer, capacity);
}

// As the answers read later are: without a terminal's paste markers.
int readStandardInputBytes(void*, char* buffer, int capacity) {
    for (;;) {
        const int got = platformReadInput(buffer, capacity);
        if (got <= 0) return got;
        const int kept = dropPasteMarkers(buffer, got);
        if (kept > 0) return kept;
    }
}

enum FirstBytes {
    kInputRefused,   // it cannot be read, or is a Gambit file that is refused: told
    kAnswersFollow,  // it holds answers: the rest is read as it comes
    kGambitGame,     // it held a Gambit game, whose answers are read ahead
};

// The first bytes of the input, read now: a Gambit file gives its answers
// whole, shown as a game file's answers are, and what follows the game on
// standard input is read as typed; any other input is read as it comes,
// from its first byte.
FirstBytes readFirstBytes(const char* path, GameBytesReader reader, void* context, NfgExtent extent,
                          bool fromFile) {
    GameStart start;
    if (!readGameStart(reader, context, &start)) {
        printError(tr("brown-robinson: cannot read '%s': %s\n"), shownPath(path),
                   std::strerror(errno));
        return kInputRefused;
    }
    if (!start.isNfg) {
        console.readAhead[0] = ReadAhead{start.bytes, start.length, fromFile};
        return kAnswersFollow;
    }
    static char answers[kTextInputCapacity];
    static NfgFileMessage refusal;
    const int length = answersOfNfgFile(shownPath(path), reader, context, extent, &start,
                                        platformHighCodeEcho(), answers, &refusal);
    if (length < 0) {
        printError("%s", refusal.text);
        return kInputRefused;
    }
    console.readAhead[0] = ReadAhead{answers, length, true};
    console.readAhead[1] = ReadAhead{start.bytes, start.length, false};
    return kGambitGame;
}

}  // namespace

const TypedGame* knownGame() { return gameOfNfgFile(); }

const char* shownPath(const char* path) {
    static char shown[4 * kShownPathCapacity];
    answerText(path, platformHighCodeEcho(), shown, sizeof shown);
    return shown;
}

void startConsole() {
    // A fresh start has no half-delivered key nor bytes read ahead, even
    // when the same process plays more than one run (as the fuzzer does).
    console = Console{KeyPress{}, 0, TextInput{}, {}, -1, "", true, false, false, false};
    startTextInput(&console.answers, readAnswers, nullptr);
    console.answers.tap = showFileAnswer;
    platformStart();
}

bool useGameFile(const char* path) {
    console.gameFile = openGameFile(path);
    if (console.gameFile < 0) {
        printError(tr("brown-robinson: cannot open '%s': %s\n"), shownPath(path),
                   std::strerror(errno));
        return false;
    }
    if (isStandardOutput(console.gameFile)) {
        printError(tr("brown-robinson: '%s': input file is output file\n"), shownPath(path));
        closeGameFile(console.gameFile);
        console.gameFile = -1;
        return false;
    }
    console.gameFilePath = path;
    // A file that cannot be read at all is as wrong a command line as one
    // that cannot be opened: its first bytes are read now.
    const FirstBytes first =
        readFirstBytes(path, readFileBytes, &console.gameFile, kNfgToTheEnd, true);
    if (first != kAnswersFollow) {
        // Nothing more is read from a Gambit file, nor from one refused.
        closeGameFile(console.gameFile);
        console.gameFile = -1;
    }
    return first != kInputRefused;
}

bool useStandardInputGame() {
    // What is typed at a terminal is answers: it is not waited for before
    // the first question.
    if (isTerminal(0)) return true;
    return readFirstBytes("-", readStandardInputBytes, nullptr, kNfgToTheGame, false) !=
           kInputRefused;
}

void printText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printFormatted(platformWriteOutput, format, args);
    va_end(args);
}

void printPlainText(const char* text, int length) { platformWriteOutput(text, length); }

ScanStatus readIntField(int32_t* value) {
    openAnswer();
    const ScanStatus status = scanWholeNumber(&console.answers, value);
    tapTakenBytes(&console.answers);
    return noticeEnd(status);
}

ScanStatus readWordField(char* out, int capacity, int* length) {
    openAnswer();
    const ScanStatus status = scanWord(&console.answers, out, capacity, length);
    tapTakenBytes(&console.answers);
    return noticeEnd(status);
}

void dropInputLine() {
    openAnswer();
    dropLine(&console.answers);
    tapTakenBytes(&console.answers);
}

void endAnswer() {
    if (console.answerShown) platformWriteOutput("\n", 1);
    console.answerOpen = false;
    console.answerShown = false;
}

bool answerHoldsControlCode(const char* text, int length) {
    return holdsControlCode(text, length, platformHighCodeEcho());
}

// One key press gives one or two codes: the first now, the second at the
// next call. A new key comes from the console (a terminal's bytes through
// the key decoder, or a console's key events) or, without one, from
// standard input.
int readKey() {
    if (console.codesHandedOut < console.lastKey.codeCount)
        return console.lastKey.codes[console.codesHandedOut++];
    platformFlushOutput();
    const bool read = platformHasConsole() ? platformReadKey(&console.lastKey)
                                           : readKeyFromInput(&console.lastKey);
    if (!read) {
        console.lastKey = KeyPress{};
        console.codesHandedOut = 0;
        return -1;
    }
    console.codesHandedOut = 1;
    return console.lastKey.codes[0];
}

// A character typed as several bytes is echoed as those bytes, so that
// the terminal shows it; every other code in the form keyEchoText gives.
void echoKey(int code) {
    if (!hasConsole()) {
        char text[5];
        platformWriteOutput(text, keyEchoText(code, kHighCodesAsBytes, text));
        return;
    }
    if (console.lastKey.textLength > 0 && console.codesHandedOut == 1 &&
        code == console.lastKey.codes[0]) {
        platformEchoText(console.lastKey.text, console.lastKey.textLength);
        return;
    }
    char text[5];
    platformEchoText(text, keyEchoText(code, platformHighCodeEcho(), text));
}

bool hasConsole() { return platformHasConsole(); }

void printError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printFormatted(platformWriteError, format, args);
    va_end(args);
}

void endProgram(int status) { platformExit(status); }
