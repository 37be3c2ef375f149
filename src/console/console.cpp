#include "console/console.h"

#include <cstdarg>

#include "console/platform.h"
#include "console/text_format.h"

namespace {

// The second code of a two-code key, handed out by the next readKey;
// -1 when there is none.
int pendingKeyCode = -1;

}  // namespace

void startConsole() {
    // A fresh start has no half-delivered key, even when the same process
    // plays more than one run (as the fuzzer does).
    pendingKeyCode = -1;
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

ScanStatus readIntField(int32_t* value) { return scanInt(platformInput(), value); }

ScanStatus readWordField(char* out, int capacity) {
    return scanWord(platformInput(), out, capacity);
}

void dropInputLine() { dropLine(platformInput()); }

int readKey() {
    if (pendingKeyCode >= 0) {
        const int code = pendingKeyCode;
        pendingKeyCode = -1;
        return code;
    }
    if (!platformHasConsole()) {
        // No keyboard to ask: the keys of a scripted run come from
        // standard input, one non-blank character each.
        const int c = scanNonBlank(platformInput());
        return c == EOF ? -1 : c;
    }
    int codes[2];
    const int count = platformReadKey(codes);
    if (count == 0) return -1;
    if (count == 2) pendingKeyCode = codes[1];
    return codes[0];
}

void echoKey(int code) {
    if (hasConsole()) {
        platformEchoKey(code);
        return;
    }
    char text[5];
    platformWriteOutput(text, keyEchoText(code, text));
}

bool hasConsole() { return platformHasConsole(); }

void printError(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    platformWriteError(text, length);
}

void endProgram(int status) { platformExit(status); }
