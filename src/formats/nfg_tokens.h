// The words of Gambit's strategic game files (.nfg): braces, commas,
// quoted strings, numbers and other words, each with the line it begins
// on; and the numbers of the format read exactly, as reduced fractions.
#pragma once

#include <cstdint>

enum TokenKind {
    kTokenEnd,         // the end of the file
    kTokenOpen,        // {
    kTokenClose,       // }
    kTokenComma,       // , between the payoffs of an outcome
    kTokenString,      // "text", \" and \\ standing for " and \ inside
    kTokenOpenString,  // a string that runs to the end of the file
    kTokenNumber,      // begins with a digit, a sign or a point
    kTokenWord,        // any other run of bytes up to a blank, brace, quote or comma
};

struct Token {
    TokenKind kind;    // what it is
    const char* text;  // its bytes in the file; a string's without the quotes
    int length;        // how many
    int line;          // the line it begins on
};

struct Scanner {
    const char* bytes;  // the whole file
    int length;         // its size
    int next;           // the byte after the token last scanned
    int line;           // the line of bytes[next]
};

// A scanner at the start of the text, past a UTF-8 byte-order mark (as
// the editors of Windows begin a file) if there is one.
Scanner startScanner(const char* bytes, int length);

// The next token; a string that is not closed runs to the end of the file.
Token scanToken(Scanner* s);

// Whether the byte ends a word or a number.
bool endsWord(char c);

// Whether the token's bytes are those of `word`.
bool isWord(const Token* t, const char* word);

// The token as a message shows it: quoted and cut short, every byte but
// printable ASCII as '?', so that a hostile file sends the terminal no
// codes. Uses out (capacity bytes) where it has to.
const char* describeToken(const Token* t, char* out, int capacity);

// A number read exactly, as a reduced fraction.
struct Rational {
    int64_t numerator;    // its sign is the number's
    int64_t denominator;  // at least 1
};

enum NumberStatus { kNumberRead, kNotANumber, kNumberTooLarge };

// A number as Gambit writes them: a decimal with its point and exponent
// both optional ("3", "-1.000000", "2.5e-1"), or a fraction of two whole
// numbers ("3/2", "-7/4"). Too large when its numerator passes 10^15 or
// its denominator 10^9, reduced: a payoff of player 2 is then added to
// player 1's whole one (at most 10^7) without leaving 64 bits.
NumberStatus readNumber(const Token* t, Rational* out);

int64_t greatestCommonDivisor(int64_t a, int64_t b);

// "3" or "-3/2" (48 bytes hold any).
void formatRational(Rational value, char* out);

// Whether a text of `length` bytes begins as a Gambit strategic game
// file: the three words NFG 1 R (or NFG 1 D) after blanks and a
// byte-order mark. Undecided while the bytes so far could still go either
// way and more may come (`ended` false).
enum NfgStart { kNfgUndecided, kNfgFile, kNotNfgFile };
NfgStart nfgStartOf(const char* bytes, int length, bool ended);
