#include "console/windows_keys.h"

#include "console/key_codes.h"

namespace {

// The keys that have two codes, by their virtual key codes.
struct VirtualKey {
    int virtualKey;
    ExtendedKey key;
};

const VirtualKey kExtendedKeys[] = {
    {kVkUp, kUp},         {kVkDown, kDown},         {kVkRight, kRight},   {kVkLeft, kLeft},
    {kVkHome, kHome},     {kVkEnd, kEnd},           {kVkPageUp, kPageUp}, {kVkPageDown, kPageDown},
    {kVkInsert, kInsert}, {kVkDelete, kDelete},     {kVkF1 + 0, kF1},     {kVkF1 + 1, kF2},
    {kVkF1 + 2, kF3},     {kVkF1 + 3, kF4},         {kVkF1 + 4, kF5},     {kVkF1 + 5, kF6},
    {kVkF1 + 6, kF7},     {kVkF1 + 7, kF8},         {kVkF1 + 8, kF9},     {kVkF1 + 9, kF10},
    {kVkF1 + 10, kF11},   {kVkF12, kF12},           {kVkTab, kTab},
};

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

}  // namespace

// Alt comes before the character: the console reports the letter of Alt+A
// as 'a', but the key stands for the two codes of Alt+A. An Alt
// combination without codes of its own gives none, its character neither.
int consoleKeyCodes(const ConsoleKey& key, int codes[2]) {
    const int modifiers = modifiersOf(key.controlState);
    ExtendedKey extended;
    if (findExtendedKey(key.virtualKey, &extended)) {
        const int count = extendedKeyCodes(extended, modifiers, codes);
        if (count > 0 || (modifiers & kAlt) != 0) return count;
    } else if ((modifiers & kAlt) != 0) {
        return altCharacterCodes(altCharacterOf(key.virtualKey), codes);
    }
    if ((key.character & 0xFF) == 0) return 0;
    codes[0] = key.character & 0xFF;
    return 1;
}
