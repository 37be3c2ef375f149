#include "captured_console.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "console/console.h"
#include "platform/platform.h"

namespace {

std::string input;
size_t inputPosition = 0;
std::string output;

}  // namespace

void startCapture(const std::string& answers) {
    input = answers;
    inputPosition = 0;
    output.clear();
    startConsole();
}

const std::string& capturedOutput() { return output; }

void platformStart() {}

int platformReadInput(char* buffer, int capacity) {
    const size_t count = std::min(input.size() - inputPosition, static_cast<size_t>(capacity));
    std::memcpy(buffer, input.data() + inputPosition, count);
    inputPosition += count;
    return static_cast<int>(count);
}

void platformFlushOutput() {}

void platformInputEnded() {}

void platformWriteOutput(const char* text, int length) { output.append(text, length); }

void platformWriteError(const char* text, int length) { output.append(text, length); }

bool platformHasConsole() { return false; }

bool platformReadKey(KeyPress*) { return false; }

HighCodeEcho platformHighCodeEcho() { return kHighCodesAsBytes; }

void platformEchoText(const char* text, int length) { output.append(text, length); }

// Nothing a unit test calls ends the program.
void platformExit(int) { abort(); }
