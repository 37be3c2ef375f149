// The thin platform part of the console: the terminal itself and the
// process. Everything above it is portable and is tested on plain bytes.
#pragma once

#include <cstdio>

// Sets up output buffering and the handlers that give the terminal back
// when the process is stopped or ended. Called once, first thing.
void platformStart();

// The stream the formatted reads take their fields from.
FILE* platformInput();

// Writes text to standard output; when that is a terminal, at once.
void platformWriteOutput(const char* text, int length);

// Writes text to standard error at once.
void platformWriteError(const char* text, int length);

// Opens the keyboard and screen of the console. False when there is
// none (no controlling terminal); asked once, the answer is kept.
bool platformHasConsole();

// Waits for one key press on the console and stores its one or two codes.
// Returns the number of codes, or 0 when the console can deliver no key.
int platformReadKey(int codes[2]);

// Shows the character of a key code on the console.
void platformEchoKey(int code);

// Writes what is still buffered, gives the terminal back as it was found
// and ends the process with `status` (a failed write turns it into 1).
[[noreturn]] void platformExit(int status);
