// Turns one key-down event of the Windows console into key codes: a key
// with a character gives that character; a key without one (arrows,
// function keys, Alt combinations) gives the classic two codes, a lead
// code 0 or 0xE0 and a second code, the same two codes the terminal
// decoder gives for the escape sequences of these keys.
//
// Kept free of windows.h, so that it is built and tested everywhere.
#pragma once

// The bits of the console's control key state (same values as wincon.h).
constexpr unsigned kRightAltPressed = 0x0001;
constexpr unsigned kLeftAltPressed = 0x0002;
constexpr unsigned kRightCtrlPressed = 0x0004;
constexpr unsigned kLeftCtrlPressed = 0x0008;
constexpr unsigned kShiftPressed = 0x0010;
constexpr unsigned kEnhancedKey = 0x0100;

// The virtual key codes of the keys that have two codes (same values as
// winuser.h). Letters and digits are their upper-case ASCII codes.
constexpr int kVkTab = 0x09;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;  // Alt
constexpr int kVkPageUp = 0x21;
constexpr int kVkPageDown = 0x22;
constexpr int kVkEnd = 0x23;
constexpr int kVkHome = 0x24;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkInsert = 0x2D;
constexpr int kVkDelete = 0x2E;
constexpr int kVkF1 = 0x70;
constexpr int kVkF12 = 0x7B;
constexpr int kVkOemPlus = 0xBB;   // the key of '=' and '+'
constexpr int kVkOemMinus = 0xBD;  // the key of '-' and '_'

constexpr int kVkNumpad0 = 0x60;
constexpr int kVkNumpad9 = 0x69;
constexpr int kVkClear = 0x0C;  // keypad 5 with Num Lock off

// What a console key event tells about the key pressed or released.
struct ConsoleKey {
    int virtualKey;
    int character;  // the character's byte in the console's code page; 0 for none
    unsigned controlState;
    bool keyDown;
};

// Stores the key's codes in codes[0] (and codes[1]) and returns how many
// there are: 1, 2, or 0 for an event that gives no code (Shift, Ctrl or
// Alt on their own, a key without a character or a code, a key released).
// The cursor and editing keys of the numeric keypad (no ENHANCED_KEY)
// lead with 0, their grey twins with 0xE0. Alt with keypad keys composes
// a character: the keys give no code, and the character comes when Alt
// is released.
int consoleKeyCodes(const ConsoleKey& key, int codes[2]);
