// How the bytes of keys and answers are shown on a console: a character
// as itself, a control code in a form that cannot drive the terminal.
#pragma once

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

// How a byte of an answer taken from a game file is shown after its
// prompt, as a terminal echoes what is typed: printable bytes and Tab as
// they are, other control codes in caret form ("^[", "^H", "^?"), the
// 8-bit control codes as "M-^@" ... "M-^_" where they are controls (not in
// a UTF-8 locale, where they are parts of characters, nor on a Windows
// console), and the other bytes from 0x80 up as they are. Writes a
// zero-terminated text of at most 4 characters into out and returns its
// length.
int answerByteText(int byte, HighCodeEcho highCodes, char out[5]);

// The length of the UTF-8 sequence of a character outside ASCII that
// starts bytes (length of them), 0 when there is none or it is a C1
// control code. An answer shows such a character whole, as the name it
// belongs to is printed in every locale, rather than byte by byte.
int answerSequenceLength(const char* bytes, int length);

// A text shown as answerByteText shows each of its bytes, so that a name
// from the command line or a file can be quoted in a message without
// driving the terminal: zero-terminated in out, cut between two bytes'
// forms where capacity-1 bytes are full. Returns its length.
int answerText(const char* text, HighCodeEcho highCodes, char* out, int capacity);

// Whether the text (length bytes) holds a code that would drive the terminal instead of
// showing as a character: a byte below 32 or 127; in a UTF-8 locale, and
// in any other locale when the text is well-formed UTF-8, the characters
// U+0080..U+009F; in another locale's text that is not, the bytes
// 128..159 (highCodes kHighCodesAsBytes).
bool holdsControlCode(const char* text, int length, HighCodeEcho highCodes);
