#include "keys/key_codes.h"

namespace {

constexpr int kE0 = 0xE0;

enum Row { kPlainRow, kShiftRow, kCtrlRow, kAltRow, kRowCount };

struct TwoCodes {
    int lead;
    int second;
};

constexpr TwoCodes kNone = {-1, -1};

// Ctrl+Page Up is 0xE0 132 as in the classic PC table; 134 belongs to F12.
// clang-format off
const TwoCodes kKeyCodes[kExtendedKeyCount][kRowCount] = {
    //              plain         Shift         Ctrl          Alt
    /* Up */       {{kE0, 72},   {kE0, 72},   {kE0, 141},  {0, 152}},
    /* Down */     {{kE0, 80},   {kE0, 80},   {kE0, 145},  {0, 160}},
    /* Right */    {{kE0, 77},   {kE0, 77},   {kE0, 116},  {0, 157}},
    /* Left */     {{kE0, 75},   {kE0, 75},   {kE0, 115},  {0, 155}},
    /* Home */     {{kE0, 71},   {kE0, 71},   {kE0, 119},  {0, 151}},
    /* End */      {{kE0, 79},   {kE0, 79},   {kE0, 117},  {0, 159}},
    /* PageUp */   {{kE0, 73},   {kE0, 73},   {kE0, 132},  {0, 153}},
    /* PageDown */ {{kE0, 81},   {kE0, 81},   {kE0, 118},  {0, 161}},
    /* Insert */   {{kE0, 82},   {kE0, 82},   {kE0, 146},  {0, 162}},
    /* Delete */   {{kE0, 83},   {kE0, 83},   {kE0, 147},  {0, 163}},
    /* F1 */       {{0, 59},     {0, 84},     {0, 94},     {0, 104}},
    /* F2 */       {{0, 60},     {0, 85},     {0, 95},     {0, 105}},
    /* F3 */       {{0, 61},     {0, 86},     {0, 96},     {0, 106}},
    /* F4 */       {{0, 62},     {0, 87},     {0, 97},     {0, 107}},
    /* F5 */       {{0, 63},     {0, 88},     {0, 98},     {0, 108}},
    /* F6 */       {{0, 64},     {0, 89},     {0, 99},     {0, 109}},
    /* F7 */       {{0, 65},     {0, 90},     {0, 100},    {0, 110}},
    /* F8 */       {{0, 66},     {0, 91},     {0, 101},    {0, 111}},
    /* F9 */       {{0, 67},     {0, 92},     {0, 102},    {0, 112}},
    /* F10 */      {{0, 68},     {0, 93},     {0, 103},    {0, 113}},
    /* F11 */      {{kE0, 133},  {kE0, 135},  {kE0, 137},  {kE0, 139}},
    /* F12 */      {{kE0, 134},  {kE0, 136},  {kE0, 138},  {kE0, 140}},
    // Plain Tab is a character; only Shift+Tab has codes of its own.
    /* Tab */      {kNone,       {0, 15},     kNone,       kNone},
};
// clang-format on

// Alt with a character key: the codes follow the keyboard rows, each row
// counting up from its first key.
struct CharacterRow {
    const char* characters;
    int firstCode;
};

// clang-format off
const CharacterRow kAltCharacterRows[] = {
    {"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44},
    {"1234567890", 120}, {"-=", 130},
};
// clang-format on

Row rowOf(int modifiers) {
    if (modifiers & kAlt) return kAltRow;
    if (modifiers & kCtrl) return kCtrlRow;
    if (modifiers & kShift) return kShiftRow;
    return kPlainRow;
}

int storeTwo(TwoCodes pair, int codes[2]) {
    if (pair.lead < 0) return 0;
    codes[0] = pair.lead;
    codes[1] = pair.second;
    return 2;
}

int upperCase(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

int extendedKeyCodes(ExtendedKey key, int modifiers, int codes[2]) {
    return storeTwo(kKeyCodes[key][rowOf(modifiers)], codes);
}

int altCharacterCodes(int character, int codes[2]) {
    const int c = upperCase(character);
    for (const CharacterRow& row : kAltCharacterRows) {
        for (int i = 0; row.characters[i] != '\0'; ++i) {
            if (row.characters[i] == c) return storeTwo(TwoCodes{0, row.firstCode + i}, codes);
        }
    }
    return 0;
}
