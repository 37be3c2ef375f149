// The platform part of the console over byte buffers. Keys go through the
// real decoder, so the fuzzer reaches the escape-sequence logic as a
// terminal would feed it.
#include "fuzz_platform.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "keys/key_decoder.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"

namespace {

// Far more reads and writes than any finite dialogue over the input needs;
// a run beyond it is a loop that asks forever.
constexpr long kBaseOperationBound = 100000;

// The end of the output is enough to see where a run stopped.
constexpr size_t kOutputKept = 1 << 16;

FuzzSurroundings now;
size_t inputPosition = 0;
size_t keyPosition = 0;
long operationBound = 0;
long readCount = 0;
long writeCount = 0;

char output[kOutputKept];
size_t outputLength = 0;
bool outputWrapped = false;

jmp_buf exitPoint;
bool insideStage = false;
int exitStatus = 0;

void giveUp(const char* what) {
    fprintf(stderr, "fuzz: %s\n", what);
    abort();
}

void countRead() {
    if (++readCount > operationBound) {
        giveUp("the program keeps reading: a loop that asks forever?");
    }
}

void countWrite() {
    if (++writeCount > operationBound) giveUp("the program keeps writing: a loop that never ends?");
}

// Copies every byte, so that the sanitizer sees each one the program hands
// over; the oldest output makes room when the buffer is full.
void keepOutput(const char* text, int length) {
    if (length < 0) giveUp("a write with a negative length");
    for (int i = 0; i < length; ++i) {
        if (outputLength == kOutputKept) {
            outputLength = 0;
            outputWrapped = true;
        }
        output[outputLength++] = text[i];
    }
}

bool atPause() {
    return now.keyPauses && keyPosition < now.keySize && now.keys[keyPosition] == kPauseByte;
}

// The terminal's bytes. A pause makes a timed wait come back empty; a wait
// without limit sits through it. When the bytes are used up the terminal
// has gone away: a timed wait inside a sequence sees nothing more, a wait
// for a new key fails.
int readKeyByte(void*, int timeoutMs) {
    while (atPause()) {
        ++keyPosition;
        if (timeoutMs >= 0) return kNoByte;
    }
    if (keyPosition < now.keySize) return now.keys[keyPosition++];
    return timeoutMs < 0 ? kByteFailure : kNoByte;
}

ByteInput keyBytes = {readKeyByte, nullptr, {0}, 0, false};

}  // namespace

void beginFuzzRun(const FuzzSurroundings& surroundings) {
    endFuzzRun();
    now = surroundings;
    inputPosition = 0;
    keyPosition = 0;
    keyBytes = ByteInput{readKeyByte, nullptr, {0}, 0, false};
    operationBound = kBaseOperationBound + 4 * static_cast<long>(now.inputSize + now.keySize);
    readCount = 0;
    writeCount = 0;
    outputLength = 0;
    outputWrapped = false;
    exitStatus = 0;
}

void endFuzzRun() { inputPosition = 0; }

bool runStage(void (*stage)()) {
    insideStage = true;
    if (setjmp(exitPoint) != 0) {
        insideStage = false;
        return false;
    }
    stage();
    insideStage = false;
    return true;
}

int fuzzExitStatus() { return exitStatus; }

void showFuzzOutput(FILE* to) {
    if (outputWrapped) fwrite(output + outputLength, 1, kOutputKept - outputLength, to);
    fwrite(output, 1, outputLength, to);
}

// No date: the same input gives the same files.
bool platformToday(int*, int*, int*) { return false; }

void platformStart() {}

// Standard input a line at a time, as a terminal gives it.
int platformReadInput(char* buffer, int capacity) {
    countRead();
    int length = 0;
    while (inputPosition < now.inputSize && length < capacity) {
        const char c = static_cast<char>(now.input[inputPosition++]);
        buffer[length++] = c;
        if (c == '\n') break;
    }
    return length;
}

void platformFlushOutput() {}

void platformInputEnded() {}

void platformWriteOutput(const char* text, int length) {
    countWrite();
    keepOutput(text, length);
}

void platformWriteError(const char* text, int length) {
    countWrite();
    keepOutput(text, length);
}

bool platformHasConsole() { return now.hasConsole; }

bool platformReadKey(KeyPress* key) {
    countRead();
    if (!now.hasConsole) giveUp("a key read from a console that is not there");
    return decodeKey(&keyBytes, key);
}

HighCodeEcho platformHighCodeEcho() { return kHighCodesAsBytes; }

void platformEchoText(const char*, int length) {
    countWrite();
    if (!now.hasConsole) giveUp("an echo on a console that is not there");
    if (length < 1 || length > 4) giveUp("an echo that is no key's text");
}

// The program's frames between here and runStage hold nothing that needs
// a destructor, so jumping over them loses nothing.
void platformExit(int status) {
    if (!insideStage) giveUp("the program ended outside a stage");
    discardAtomicFiles();
    exitStatus = status;
    longjmp(exitPoint, 1);
}
