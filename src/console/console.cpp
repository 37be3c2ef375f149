#include "console/console.h"

#include <cstdarg>

#include "console/platform.h"
#include "console/text_format.h"

namespace {

// The key last read. Its second code, if it has one, waits here for the
// next readKey; its text, if it has one, is what echoKey shows for it.
KeyPress lastKey;
int codesHandedOut = 0;

// The keys of a scripted run (no console) come from standard input, one
// non-blank character each.
bool readKeyFromInput(KeyPress* key) {
    const int c = scanNonBlank(platformInput());
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
    platformStart();
}

void printText(const char* format, ...) {
    // Every text of the program is short; a longer one would be cut, not
    // written past the buffer.
    char text[1024];
    va_list args;
    va_start(args, format);
    const int length = formatText(text, sizeof text, format, args);
    va_end(args);
    platformWriteOutput(text, length);
}

ScanStatus readIntField(int32_t* value) { return noticeEnd(scanInt(platformInput(), value)); }

ScanStatus readWordField(char* out, int capacity) {
    return noticeEnd(scanWord(platformInput(), out, capacity));
}

void dropInputLine() { dropLine(platformInput()); }

// One key press gives one or two codes: the first now, the second at the
// next call. A new key comes from the console (a terminal's bytes through
// the key decoder, or a console's key events) or, without one, from
// standard input.
int readKey() {
    if (codesHandedOut < lastKey.codeCount) return lastKey.codes[codesHandedOut++];
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

void printError(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    platformWriteError(text, length);
}

void endProgram(int status) { platformExit(status); }
