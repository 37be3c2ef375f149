// Characters as people count them: a well-formed UTF-8 sequence is one
// character, whatever the locale says, and any other byte is one too, so
// that a text in a one-byte character set counts as it did.
#pragma once

// The length (2 to 4) of the well-formed UTF-8 sequence of more than one
// byte that starts text (length bytes), 0 when there is none there: an
// ASCII byte, a stray or cut byte, an overlong form, a surrogate, or a
// code beyond U+10FFFF.
int utf8SequenceLength(const char* text, int length);

// Whether every byte of the text belongs to a well-formed UTF-8 sequence
// (ASCII included).
bool isWellFormedUtf8(const char* text, int length);

// How many characters the text holds.
int characterCount(const char* text, int length);

// How many bytes the first `characters` characters of the text take: a
// cut there never splits a UTF-8 sequence.
int characterPrefixLength(const char* text, int length, int characters);
