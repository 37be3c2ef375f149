// The thin platform part of the console: the terminal itself and the
// process. Everything above it is portable and is tested on plain bytes.
#pragma once

#include <cstdio>

#include "console/console.h"
#include "console/key_codes.h"

// Sets up output buffering and the handlers that give the terminal back
// when the process is stopped or ended. Called once, first thing.
void platformStart();

// The stream the formatted reads take their fields from.
FILE* platformInput();

// A formatted read met the end of standard input. Where a line read cut
// short by Ctrl+C looks like that end (the Windows console), the program
// ends here as Ctrl+C ends it; otherwise this returns.
void platformInputEnded();

// Writes text to standard output; when that is a terminal, at once.
void platformWriteOutput(const char* text, int length);

// Writes text to standard error at once.
void platformWriteError(const char* text, int length);

// Opens the keyboard and screen of the console. False when there is
// none (no controlling terminal); asked once, the answer is kept.
bool platformHasConsole();

// Waits for one key press on the console. False when the console can
// deliver no key.
bool platformReadKey(KeyPress* key);

// How the console shows the codes from 0x80 up (see keyEchoText).
HighCodeEcho platformHighCodeEcho();

// Writes text straight to the console.
void platformEchoText(const char* text, int length);

// Writes what is still buffered, gives the terminal back as it was found
// and ends the process with `status` (a failed write turns it into 1).
[[noreturn]] void platformExit(int status);
