#include "console/console.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "formats/nfg_tokens.h"
#include "input/game_file.h"
#include "input/nfg_answers.h"
#include "input/text_input.h"
#include "platform/platform.h"
#include "text/text_format.h"

namespace {

// The key last read. Its second code, if it has one, waits here for the
// next readKey; its text, if it has one, is what echoKey shows for it.
KeyPress lastKey;
int codesHandedOut = 0;

// The answers: those of the game file first, if there is one, then those
// on standard input, as if the two were one stream, but for the end of
// the file, which ends a line.
TextInput answers;
int gameFile = -1;
const char* gameFilePath = "";
bool fileEndedLine = true;    // the game file's last byte read was a line end (or none was read)
bool bufferFromFile = false;  // the bytes in the answers' buffer came from the game file

// The answer being read, shown as it is taken from the game file. Its
// leading blanks and its line end are not shown.
bool answerOpen = false;   // an answer is being read
bool answerShown = false;  // some of it has been shown

int takeFromFile(const char* buffer, int got) {
    bufferFromFile = true;
    fileEndedLine = buffer[got - 1] == '\n';
    return got;
}

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

void showFileAnswer(void*, const char* bytes, int length) {
    if (!answerOpen || !bufferFromFile) return;
    for (int i = 0; i < length; ++i) {
        const int c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n' || c == '\r' || (!answerShown && isBlank(c))) continue;
        char text[5];
        platformWriteOutput(text, answerByteText(c, platformHighCodeEcho(), text));
        answerShown = true;
    }
}

void openAnswer() {
    if (answerOpen) return;
    skipTakenBytes(&answers);
    answerOpen = true;
    answerShown = false;
}

// A text may be long (a path on the command line, a long answer): it is
// written in pieces rather than cut.
void printFormatted(void (*write)(const char* text, int length), const char* format, va_list args) {
    writeFormatted(write, format, args);
}

// A file that fails in the middle would leave the game half entered from
// it; better to stop and say so than to go on with other answers.
int readFromGameFile(char* buffer, int capacity) {
    const int got = readGameFile(gameFile, buffer, capacity);
    if (got < 0) {
        printError("brown-robinson: cannot read '%s': %s\n", gameFilePath, std::strerror(errno));
        endProgram(1);
    }
    return got;
}

int readAnswers(void*, char* buffer, int capacity) {
    if (gameFile >= 0) {
        const int got = readFromGameFile(buffer, capacity);
        if (got > 0) return takeFromFile(buffer, got);
        closeGameFile(gameFile);
        gameFile = -1;
        // Nothing of the file's last line runs on into what is typed next.
        if (!fileEndedLine) {
            buffer[0] = '\n';
            return takeFromFile(buffer, 1);
        }
    }
    bufferFromFile = false;
    // Whatever has been asked is on the screen before the wait for the
    // answer, wherever standard output goes.
    platformFlushOutput();
    for (;;) {
        const int got = platformReadInput(buffer, capacity);
        // Not the end of the answers: that would be reported as an input
        // that ended, and the reason lost.
        if (got < 0) {
            printError("brown-robinson: cannot read standard input: %s\n", std::strerror(errno));
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
    const int c = scanNonBlank(&answers);
    *key = KeyPress{{c, 0}, 1, {0}, 0};
    return c != EOF;
}

ScanStatus noticeEnd(ScanStatus status) {
    if (status == kScanEnd) platformInputEnded();
    return status;
}

}  // namespace

void startConsole() {
    // A fresh start has no half-delivered key, even when the same process
    // plays more than one run (as the fuzzer does).
    lastKey = KeyPress{};
    codesHandedOut = 0;
    startTextInput(&answers, readAnswers, nullptr);
    answers.tap = showFileAnswer;
    fileEndedLine = true;
    bufferFromFile = false;
    answerOpen = false;
    answerShown = false;
    platformStart();
}

bool useGameFile(const char* path) {
    gameFile = openGameFile(path);
    if (gameFile < 0) {
        printError("brown-robinson: cannot open '%s': %s\n", path, std::strerror(errno));
        return false;
    }
    if (isStandardOutput(gameFile)) {
        printError("brown-robinson: '%s': input file is output file\n", path);
        closeGameFile(gameFile);
        gameFile = -1;
        return false;
    }
    gameFilePath = path;
    // A file that cannot be read at all is as wrong a command line as one
    // that cannot be opened: its first bytes are read now.
    const int got = readGameFile(gameFile, answers.buffer, kTextInputCapacity);
    if (got < 0) {
        printError("brown-robinson: cannot read '%s': %s\n", path, std::strerror(errno));
        closeGameFile(gameFile);
        gameFile = -1;
        return false;
    }
    if (got > 0) takeFromFile(answers.buffer, got);
    answers.length = got;
    answers.next = 0;
    answers.tapped = 0;
    if (nfgStartOf(answers.buffer, got, true) == kNfgFile) {
        // A Gambit game file gives its answers whole: nothing more is read
        // from it, and they are shown as a game file's answers are.
        static NfgFileMessage refusal;
        const int length =
            answersOfNfgFile(path, gameFile, answers.buffer, got, platformHighCodeEcho(), &refusal);
        gameFile = -1;
        if (length < 0) printError("%s", refusal.text);
        answers.length = length < 0 ? 0 : length;
        if (length > 0) takeFromFile(answers.buffer, length);
        return length >= 0;
    }
    return true;
}

void printText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printFormatted(platformWriteOutput, format, args);
    va_end(args);
}

ScanStatus readIntField(int32_t* value) {
    openAnswer();
    const ScanStatus status = scanInt(&answers, value);
    tapTakenBytes(&answers);
    return noticeEnd(status);
}

ScanStatus readWordField(char* out, int capacity, int* length) {
    openAnswer();
    const ScanStatus status = scanWord(&answers, out, capacity, length);
    tapTakenBytes(&answers);
    return noticeEnd(status);
}

void dropInputLine() {
    openAnswer();
    dropLine(&answers);
    tapTakenBytes(&answers);
}

void endAnswer() {
    if (answerShown) platformWriteOutput("\n", 1);
    answerOpen = false;
    answerShown = false;
}

bool answerHoldsControlCode(const char* text, int length) {
    return holdsControlCode(text, length, platformHighCodeEcho());
}

// One key press gives one or two codes: the first now, the second at the
// next call. A new key comes from the console (a terminal's bytes through
// the key decoder, or a console's key events) or, without one, from
// standard input.
int readKey() {
    if (codesHandedOut < lastKey.codeCount) return lastKey.codes[codesHandedOut++];
    platformFlushOutput();
    const bool read = platformHasConsole() ? platformReadKey(&lastKey) : readKeyFromInput(&lastKey);
    if (!read) {
        lastKey = KeyPress{};
        codesHandedOut = 0;
        return -1;
    }
    codesHandedOut = 1;
    return lastKey.codes[0];
}

// A character typed as several bytes is echoed as those bytes, so that
// the terminal shows it; every other code in the form keyEchoText gives.
void echoKey(int code) {
    if (!hasConsole()) {
        char text[5];
        platformWriteOutput(text, keyEchoText(code, kHighCodesAsBytes, text));
        return;
    }
    if (lastKey.textLength > 0 && codesHandedOut == 1 && code == lastKey.codes[0]) {
        platformEchoText(lastKey.text, lastKey.textLength);
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
