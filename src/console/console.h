// The console operations of the dialogue and the report.
#pragma once

#include <cstdint>

#include "game/typed_game.h"
#include "input/field_scan.h"

// Prepares the console; called once, before anything else.
void startConsole();

// Takes the answers from the file at `path` first and from standard input
// when it ends. False, with a message on standard error, when the file
// cannot be opened or read.
bool useGameFile(const char* path);

// Standard input named as the GAME-FILE ("-"): when it is not a terminal
// and begins as a Gambit file, the game's answers come first and then
// what follows the game. False, with a message on standard error, when it
// cannot be read or is a Gambit file that is refused.
bool useStandardInputGame();

// The game the GAME-FILE (or standard input) gave whole before the
// dialogue, as a Gambit file does; nullptr when it is not known yet.
const TypedGame* knownGame();

// How many bytes of a name shownPath keeps (at most four bytes shown each).
constexpr int kShownPathCapacity = 4096;

// A name from the command line as a message quotes it: control characters
// in caret form ("^["), as the answers from a game file are shown, so that
// no name can drive the terminal. Valid until the next call.
const char* shownPath(const char* path);

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
// printed is written out before the program waits for input. The end of
// the game file ends a field and a line, as the end of a typed line does.
// An answer taken from the game file is shown as it is taken, since
// nobody typed it: see endAnswer.
ScanStatus readIntField(int32_t* value);
// A word also gives its length, since it may hold a zero byte.
ScanStatus readWordField(char* out, int capacity, int* length);

// Drops the rest of the current line of the answers (after an answer
// that is refused: it is shown too when it comes from the game file).
void dropInputLine();

// Ends the answer just read: one shown from the game file gets its line
// end, as if it had been typed on a line of its own.
void endAnswer();

// Whether the text of an answer holds a code that would drive the
// terminal rather than show as a character (see holdsControlCode).
bool answerHoldsControlCode(const char* text, int length);

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

// A message on standard error, outside the dialogue; the fields as for
// printText.
// `length` bytes of text as they are, with no format to read.
void printPlainText(const char* text, int length);

void printError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Ends the program with `status`, all output written and the terminal as
// it was found.
[[noreturn]] void endProgram(int status);
