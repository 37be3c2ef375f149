// The thin platform part of the console: the terminal itself and the
// process. Everything above it is portable and is tested on plain bytes.
#pragma once

#include "keys/key_codes.h"
#include "keys/key_echo.h"
#include "text/translation.h"

// The language the user asks for: the environment's locale variables
// (text/language_choice.h), on Windows the user's interface language
// unless LANGUAGE says otherwise.
Language platformLanguage();

// Sets up output buffering and the handlers that give the terminal back
// when the process is stopped or ended. Called once, first thing.
void platformStart();

// Reads standard input into buffer: up to capacity bytes, and from a
// terminal no further than the end of one line, so that what is typed
// after it stays in the terminal for the next key read. Returns how many
// bytes; 0 once the input has ended, and from then on; -1 with errno set
// when it cannot be read.
int platformReadInput(char* buffer, int capacity);

// Writes out what standard output still holds, before a wait for input.
void platformFlushOutput();

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

// The day of the run: the local date (on POSIX systems as the time zone
// file of TZ or /etc/localtime has it, UTC without one), or the UTC date
// of the time SOURCE_DATE_EPOCH names when it is set, so that a run's
// files can come out the same on every day. False when it cannot be told.
bool platformToday(int* year, int* month, int* day);

// Writes what is still buffered, gives the terminal back as it was found
// and ends the process with `status` (a failed write turns it into 1).
[[noreturn]] void platformExit(int status);
