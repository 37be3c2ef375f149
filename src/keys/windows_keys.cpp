#include "keys/windows_keys.h"

#include "keys/key_codes.h"

namespace {

// The keys that have two codes, by their virtual key codes.
struct VirtualKey {
    int virtualKey;
    ExtendedKey key;
};

// clang-format off
const VirtualKey kExtendedKeys[] = {
    {kVkUp, kUp},         {kVkDown, kDown},         {kVkRight, kRight},   {kVkLeft, kLeft},
    {kVkHome, kHome},     {kVkEnd, kEnd},           {kVkPageUp, kPageUp}, {kVkPageDown, kPageDown},
    {kVkInsert, kInsert}, {kVkDelete, kDelete},     {kVkF1 + 0, kF1},     {kVkF1 + 1, kF2},
    {kVkF1 + 2, kF3},     {kVkF1 + 3, kF4},         {kVkF1 + 4, kF5},     {kVkF1 + 5, kF6},
    {kVkF1 + 6, kF7},     {kVkF1 + 7, kF8},         {kVkF1 + 8, kF9},     {kVkF1 + 9, kF10},
    {kVkF1 + 10, kF11},   {kVkF12, kF12},           {kVkTab, kTab},
};
// clang-format on

// AltGr is reported as right Alt together with left Ctrl; it types
// characters, so it counts as neither Alt nor Ctrl.
bool isAltGr(unsigned state) {
    return (state & kRightAltPressed) != 0 && (state & kLeftCtrlPressed) != 0;
}

int modifiersOf(unsigned state) {
    const bool altGr = isAltGr(state);
    int modifiers = 0;
    if ((state & kLeftAltPressed) != 0 || ((state & kRightAltPressed) != 0 && !altGr)) {
        modifiers |= kAlt;
    }
    if ((state & kRightCtrlPressed) != 0 || ((state & kLeftCtrlPressed) != 0 && !altGr)) {
        modifiers |= kCtrl;
    }
    if ((state & kShiftPressed) != 0) modifiers |= kShift;
    return modifiers;
}

bool findExtendedKey(int virtualKey, ExtendedKey* key) {
    for (const VirtualKey& entry : kExtendedKeys) {
        if (entry.virtualKey == virtualKey) {
            *key = entry.key;
            return true;
        }
    }
    return false;
}

// The character a key stands for when Alt is held: letters and digits
// are named by their upper-case characters, '-' and '=' by keys of their
// own. Other virtual key codes stand for no character, even where their
// values are those of lower-case letters (the numeric keypad's).
int altCharacterOf(int virtualKey) {
    if (virtualKey == kVkOemMinus) return '-';
    if (virtualKey == kVkOemPlus) return '=';
    const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
    const bool digit = virtualKey >= '0' && virtualKey <= '9';
    return letter || digit ? virtualKey : 0;
}

// The cursor and editing keys come first among the keys with two codes.
bool isCursorOrEditingKey(ExtendedKey key) { return key <= kDelete; }

// The grey cursor and editing keys come with ENHANCED_KEY; their twins on
// the numeric keypad (Num Lock off) without it.
bool isOnKeypad(const ConsoleKey& key) { return (key.controlState & kEnhancedKey) == 0; }

// A digit key of the numeric keypad: a digit with Num Lock on; with it
// off, the cursor and editing key on it (all but Delete, the keypad's
// point) or the 5, which has no other name.
bool isKeypadDigit(const ConsoleKey& key) {
    if (key.virtualKey >= kVkNumpad0 && key.virtualKey <= kVkNumpad9) return true;
    if (key.virtualKey == kVkClear) return true;
    ExtendedKey extended;
    return findExtendedKey(key.virtualKey, &extended) && isCursorOrEditingKey(extended) &&
           extended != kDelete && isOnKeypad(key);
}

int storeCharacter(int character, int codes[2]) {
    if ((character & 0xFF) == 0) return 0;
    codes[0] = character & 0xFF;
    return 1;
}

}  // namespace

// Alt comes before the character: the console reports the letter of Alt+A
// as 'a', but the key stands for the two codes of Alt+A. An Alt
// combination without codes of its own gives none, its character neither.
int consoleKeyCodes(const ConsoleKey& key, int codes[2]) {
    // The character that Alt and keypad digits composed comes with Alt's release.
    if (!key.keyDown) return key.virtualKey == kVkMenu ? storeCharacter(key.character, codes) : 0;
    const int modifiers = modifiersOf(key.controlState);
    if ((modifiers & kAlt) != 0 && isKeypadDigit(key)) return 0;  // a digit of a composed character
    ExtendedKey extended;
    if (findExtendedKey(key.virtualKey, &extended)) {
        const int count = extendedKeyCodes(extended, modifiers, codes);
        if (count > 0 && isCursorOrEditingKey(extended) && isOnKeypad(key)) codes[0] = 0;
        if (count > 0 || (modifiers & kAlt) != 0) return count;
    } else if ((modifiers & kAlt) != 0) {
        return altCharacterCodes(altCharacterOf(key.virtualKey), codes);
    }
    return storeCharacter(key.character, codes);
}
