#include "console/windows_keys.h"

namespace {

constexpr int kE0 = 0xE0;

// Each key has one pair of codes per row; when several modifiers are held,
// Alt picks its row before Ctrl, and Ctrl before Shift.
enum Row { kPlainRow, kShiftRow, kCtrlRow, kAltRow, kRowCount };

struct TwoCodes {
    int lead;
    int second;
};

constexpr TwoCodes kNone = {-1, -1};

struct ExtendedKey {
    int virtualKey;
    TwoCodes rows[kRowCount];
};

// The same codes as the terminal decoder's; Ctrl+Page Up is 0xE0 132 as in
// the classic PC table (134 is F12).
const ExtendedKey kExtendedKeys[] = {
    //                plain         Shift         Ctrl          Alt
    {kVkUp,       {{kE0, 72},   {kE0, 72},   {kE0, 141},  {0, 152}}},
    {kVkDown,     {{kE0, 80},   {kE0, 80},   {kE0, 145},  {0, 160}}},
    {kVkRight,    {{kE0, 77},   {kE0, 77},   {kE0, 116},  {0, 157}}},
    {kVkLeft,     {{kE0, 75},   {kE0, 75},   {kE0, 115},  {0, 155}}},
    {kVkHome,     {{kE0, 71},   {kE0, 71},   {kE0, 119},  {0, 151}}},
    {kVkEnd,      {{kE0, 79},   {kE0, 79},   {kE0, 117},  {0, 159}}},
    {kVkPageUp,   {{kE0, 73},   {kE0, 73},   {kE0, 132},  {0, 153}}},
    {kVkPageDown, {{kE0, 81},   {kE0, 81},   {kE0, 118},  {0, 161}}},
    {kVkInsert,   {{kE0, 82},   {kE0, 82},   {kE0, 146},  {0, 162}}},
    {kVkDelete,   {{kE0, 83},   {kE0, 83},   {kE0, 147},  {0, 163}}},
    {kVkF1 + 0,   {{0, 59},     {0, 84},     {0, 94},     {0, 104}}},
    {kVkF1 + 1,   {{0, 60},     {0, 85},     {0, 95},     {0, 105}}},
    {kVkF1 + 2,   {{0, 61},     {0, 86},     {0, 96},     {0, 106}}},
    {kVkF1 + 3,   {{0, 62},     {0, 87},     {0, 97},     {0, 107}}},
    {kVkF1 + 4,   {{0, 63},     {0, 88},     {0, 98},     {0, 108}}},
    {kVkF1 + 5,   {{0, 64},     {0, 89},     {0, 99},     {0, 109}}},
    {kVkF1 + 6,   {{0, 65},     {0, 90},     {0, 100},    {0, 110}}},
    {kVkF1 + 7,   {{0, 66},     {0, 91},     {0, 101},    {0, 111}}},
    {kVkF1 + 8,   {{0, 67},     {0, 92},     {0, 102},    {0, 112}}},
    {kVkF1 + 9,   {{0, 68},     {0, 93},     {0, 103},    {0, 113}}},
    {kVkF1 + 10,  {{kE0, 133},  {kE0, 135},  {kE0, 137},  {kE0, 139}}},
    {kVkF12,      {{kE0, 134},  {kE0, 136},  {kE0, 138},  {kE0, 140}}},
    // Plain Tab is a character; only Shift+Tab has codes of its own.
    {kVkTab,      {kNone,       {0, 15},     kNone,       kNone}},
};

// Alt with a character key: the codes follow the keyboard rows, each row
// counting up from its first key. Letters and digits are named by their
// virtual key codes, which are their upper-case characters.
struct KeyRow {
    int keys[10];
    int count;
    int firstCode;
};

const KeyRow kAltKeyRows[] = {
    {{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'}, 10, 16},
    {{'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L'}, 9, 30},
    {{'Z', 'X', 'C', 'V', 'B', 'N', 'M'}, 7, 44},
    {{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}, 10, 120},
    {{kVkOemMinus, kVkOemPlus}, 2, 130},
};

// AltGr is reported as right Alt together with left Ctrl; it types
// characters, so it counts as neither Alt nor Ctrl.
bool isAltGr(unsigned state) {
    return (state & kRightAltPressed) != 0 && (state & kLeftCtrlPressed) != 0;
}

bool altHeld(unsigned state) {
    return (state & kLeftAltPressed) != 0 || ((state & kRightAltPressed) != 0 && !isAltGr(state));
}

bool ctrlHeld(unsigned state) {
    return (state & kRightCtrlPressed) != 0 || ((state & kLeftCtrlPressed) != 0 && !isAltGr(state));
}

Row rowOf(unsigned state) {
    if (altHeld(state)) return kAltRow;
    if (ctrlHeld(state)) return kCtrlRow;
    if ((state & kShiftPressed) != 0) return kShiftRow;
    return kPlainRow;
}

TwoCodes extendedCodes(int virtualKey, Row row) {
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.virtualKey == virtualKey) return key.rows[row];
    }
    return kNone;
}

TwoCodes altCharacterCodes(int virtualKey) {
    for (const KeyRow& row : kAltKeyRows) {
        for (int i = 0; i < row.count; ++i) {
            if (row.keys[i] == virtualKey) return TwoCodes{0, row.firstCode + i};
        }
    }
    return kNone;
}

int storeTwo(TwoCodes pair, int codes[2]) {
    if (pair.lead < 0) return 0;
    codes[0] = pair.lead;
    codes[1] = pair.second;
    return 2;
}

// Alt comes before the character: the console reports the letter of
// Alt+A as 'a', but the key stands for the two codes of Alt+A. An Alt
// combination without codes of its own gives none, its character neither.
int altKeyCodes(int virtualKey, int codes[2]) {
    const TwoCodes pair = extendedCodes(virtualKey, kAltRow);
    return storeTwo(pair.lead >= 0 ? pair : altCharacterCodes(virtualKey), codes);
}

}  // namespace

int consoleKeyCodes(const ConsoleKey& key, int codes[2]) {
    const Row row = rowOf(key.controlState);
    if (row == kAltRow) return altKeyCodes(key.virtualKey, codes);
    const TwoCodes pair = extendedCodes(key.virtualKey, row);
    if (pair.lead >= 0) return storeTwo(pair, codes);
    if ((key.character & 0xFF) == 0) return 0;
    codes[0] = key.character & 0xFF;
    return 1;
}
