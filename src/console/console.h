// The console operations of the dialogue and the report.
#pragma once

#include <cstdint>

#include "console/field_scan.h"

// Prepares the console; called once, before anything else.
void startConsole();

// Takes the answers from the file at `path` first and from standard input
// when it ends. False, with a message on standard error, when the file
// cannot be opened or read.
bool useGameFile(const char* path);

// Formatted output to standard output. Fields: %s, %d, %2d, %3d (any
// width), %f and %.2f (any precision; a float is passed widened to
// double) and %%. When standard output is a terminal the text is on the
// screen when the call returns.
void printText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// One field of the answers (see field_scan.h for the statuses): from the
// game file while it lasts, then from standard input. What has been
// printed is written out before the program waits for input.
ScanStatus readIntField(int32_t* value);
ScanStatus readWordField(char* out, int capacity);

// Drops the rest of the current line of standard input.
void dropInputLine();

// The next key code 0..255 from the keyboard itself, without echo and
// without waiting for Enter. A key without a character gives two codes on
// two calls. Returns -1 when no key can come any more: the input ended
// (no console) or the terminal went away.
int readKey();

// Shows the key just read on the console (on standard output when there
// is no console): a character typed as several bytes as itself, any other
// code as keyEchoText shows it.
void echoKey(int code);

// Whether the keys come from a console rather than from standard input.
bool hasConsole();

// How the codes from 0x80 up are shown when echoed.
enum HighCodeEcho {
    // A terminal in a locale of one byte a character: 0x80..0x9F are
    // control codes, 0xA0..0xFF the characters of those bytes.
    kHighCodesAsBytes,
    // A terminal in a UTF-8 locale: 0x80..0x9F are control codes too,
    // 0xA0..0xFF the characters of those numbers (0xE0 is U+00E0), in UTF-8.
    kHighCodesAsUtf8,
    // A Windows console: every code from 0x80 up is a character of its
    // code page, written as that byte.
    kHighCodesAsCodePage,
};

// How a key code is shown when echoed: printable bytes and Tab, CR, LF
// and Backspace as they are, other control codes in caret form ("^C",
// "^[", "^?"), the 8-bit control codes 0x80..0x9F of a terminal as
// "M-^@" ... "M-^_" (a raw control code would leave it in an escape
// state), and the codes from 0xA0 up as `highCodes` says. Writes a
// zero-terminated text of at most 4 characters into out and returns its
// length.
int keyEchoText(int code, HighCodeEcho highCodes, char out[5]);

// Whether a POSIX locale takes text as UTF-8, by its name: the first of
// LC_ALL, LC_CTYPE and LANG that is set and not empty (each may be null)
// names it, and its character set ("C.UTF-8", "en_US.utf8@euro") is UTF-8.
bool localeTakesUtf8(const char* lcAll, const char* lcCtype, const char* lang);

// A message on standard error, outside the dialogue; the fields as for
// printText.
void printError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Ends the program with `status`, all output written and the terminal as
// it was found.
[[noreturn]] void endProgram(int status);
