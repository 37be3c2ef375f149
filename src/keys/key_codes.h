// The classic two-code form of the keys that produce no character: a lead
// code 0 or 0xE0, then a second code. One table for every way a key can
// arrive (a terminal's escape sequence, a console's key event).
#pragma once

// One key press as the dialogue receives it: one code, or the two codes of
// a key without a character. A character that arrived as several bytes
// (UTF-8) keeps them in text, so that its echo shows the character.
struct KeyPress {
    int codes[2];
    int codeCount;
    char text[4];
    int textLength;
};

// clang-format off
enum ExtendedKey {
    kUp, kDown, kRight, kLeft, kHome, kEnd, kPageUp, kPageDown, kInsert, kDelete,
    kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12,
    kTab,
    kExtendedKeyCount
};
// clang-format on

// Modifier bits, as terminals count them: their parameter m is 1 + these.
constexpr int kShift = 1;
constexpr int kAlt = 2;
constexpr int kCtrl = 4;

// Stores the two codes of `key` held with `modifiers` and returns 2, or
// returns 0 for a combination without codes of its own (Tab without
// Shift). When several modifiers are held, Alt counts before Ctrl and
// Ctrl before Shift.
int extendedKeyCodes(ExtendedKey key, int modifiers, int codes[2]);

// Alt held with a character key: a letter (either case), a digit, '-' or
// '='. Stores its two codes and returns 2, or returns 0 for any other
// character.
int altCharacterCodes(int character, int codes[2]);
