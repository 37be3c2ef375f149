#include "platform/standard_streams.h"
#include "text/translation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Static buffers, so that the standard streams need nothing from the heap.
char outputBuffer[8192];
char inputBuffer[4096];

bool flushEveryWrite = false;
bool outputFailed = false;
int outputErrno = 0;

void noteOutputFailure() {
    if (!outputFailed) outputErrno = errno;
    outputFailed = true;
}

}  // namespace

void setUpStandardStreams(bool outputIsTerminal) {
    flushEveryWrite = outputIsTerminal;
    setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    setvbuf(stdin, inputBuffer, _IOFBF, sizeof inputBuffer);
}

bool writeStandardOutput(const char* text, int length) {
    if (fwrite(text, 1, length, stdout) != static_cast<size_t>(length)) noteOutputFailure();
    if (flushEveryWrite && fflush(stdout) != 0) noteOutputFailure();
    return !outputFailed;
}

bool flushStandardOutput() {
    if (fflush(stdout) != 0) noteOutputFailure();
    return !outputFailed;
}

int finishStandardOutput(int status) {
    static bool reported = false;
    if (fflush(stdout) != 0 || ferror(stdout)) noteOutputFailure();
    if (!outputFailed) return status;
    if (!reported) {
        reported = true;
        fprintf(stderr, tr("brown-robinson: cannot write to standard output: %s\n"),
                strerror(outputErrno));
    }
    return 1;
}
