#include "captured_console.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/platform.h"

namespace {

FILE* inputStream = nullptr;
std::string output;

}  // namespace

void startCapture(FILE* input) {
    inputStream = input;
    output.clear();
}

const std::string& capturedOutput() { return output; }

void platformStart() {}

FILE* platformInput() { return inputStream; }

void platformInputEnded() {}

void platformWriteOutput(const char* text, int length) { output.append(text, length); }

void platformWriteError(const char* text, int length) { output.append(text, length); }

bool platformHasConsole() { return false; }

bool platformReadKey(KeyPress*) { return false; }

bool platformShowsHighCodes() { return false; }

void platformEchoText(const char* text, int length) { output.append(text, length); }

// Nothing a unit test calls ends the program.
void platformExit(int) { abort(); }
