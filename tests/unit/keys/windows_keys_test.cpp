#include "keys/windows_keys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int E0 = 0xE0;

const unsigned kNoModifier = 0;
const unsigned kShift = kShiftPressed;
const unsigned kCtrl = kLeftCtrlPressed;
const unsigned kAlt = kLeftAltPressed;
const unsigned kAltGr = kRightAltPressed | kLeftCtrlPressed;

// Bits the console sets beside the modifiers, which change no code.
const unsigned kNumLockOn = 0x0020;
const unsigned kScrollLockOn = 0x0040;
const unsigned kCapsLockOn = 0x0080;

// clang-format off
const int kVkF[13] = {0,           kVkF1,      kVkF1 + 1,  kVkF1 + 2,  kVkF1 + 3,
                      kVkF1 + 4,   kVkF1 + 5,  kVkF1 + 6,  kVkF1 + 7,  kVkF1 + 8,
                      kVkF1 + 9,   kVkF1 + 10, kVkF12};
// clang-format on
const int kVkReturn = 0x0D;
const int kVkEscape = 0x1B;
const int kVkSpace = 0x20;
const int kVkBack = 0x08;
const int kVkCapital = 0x14;
const int kVkLeftWindows = 0x5B;
const int kVkF13 = 0x7C;
const int kVkOemSlash = 0xBF;
const int kVkOemComma = 0xBC;
const int kVkLeftShift = 0xA0;

struct KeyCase {
    const char* name;
    int virtualKey;
    unsigned state;
    int character;
    std::vector<int> codes;
};

std::vector<int> codesOf(int virtualKey, unsigned state, int character) {
    int codes[2] = {-100, -100};
    const int count = consoleKeyCodes(ConsoleKey{virtualKey, character, state, true}, codes);
    if (count < 0 || count > 2) return {-1000 - count};
    return std::vector<int>(codes, codes + count);
}

void expectCodes(const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codesOf(c.virtualKey, c.state, c.character), c.codes);
    }
}

// The ten cursor and editing keys in the order of the rows below.
struct EditingKey {
    const char* name;
    int virtualKey;
};

// clang-format off
const EditingKey kEditingKeys[] = {
    {"Up", kVkUp},         {"Down", kVkDown},         {"Right", kVkRight}, {"Left", kVkLeft},
    {"Home", kVkHome},     {"End", kVkEnd},           {"Page Up", kVkPageUp},
    {"Page Down", kVkPageDown}, {"Insert", kVkInsert}, {"Delete", kVkDelete},
};
// clang-format on

// One row of second codes per modifier, in the order of kEditingKeys:
// the grey keys, which come with ENHANCED_KEY.
void expectEditingKeys(const char* modifier, unsigned state, int lead,
                       const std::vector<int>& seconds) {
    state |= kEnhancedKey;
    ASSERT_EQ(seconds.size(), sizeof kEditingKeys / sizeof kEditingKeys[0]);
    std::vector<KeyCase> cases;
    std::vector<std::string> names;
    for (size_t i = 0; i < seconds.size(); ++i) {
        names.push_back(std::string(modifier) + kEditingKeys[i].name);
    }
    for (size_t i = 0; i < seconds.size(); ++i) {
        cases.push_back(
            {names[i].c_str(), kEditingKeys[i].virtualKey, state, 0, {lead, seconds[i]}});
    }
    expectCodes(cases);
}

// F1 ... F12 with one modifier: the lead and second code of each.
void expectFunctionKeys(const char* modifier, unsigned state,
                        const std::vector<std::vector<int>>& codes) {
    ASSERT_EQ(codes.size(), 12u);
    std::vector<std::string> names;
    for (int f = 1; f <= 12; ++f) names.push_back(std::string(modifier) + "F" + std::to_string(f));
    std::vector<KeyCase> cases;
    for (int f = 1; f <= 12; ++f)
        cases.push_back({names[f - 1].c_str(), kVkF[f], state, 0, codes[f - 1]});
    expectCodes(cases);
}

TEST(ConsoleKeyTable, CursorAndEditingKeys) {
    expectEditingKeys("", kNoModifier, E0, {72, 80, 77, 75, 71, 79, 73, 81, 82, 83});
}

TEST(ConsoleKeyTable, ShiftWithCursorAndEditingKeysKeepsTheirCodes) {
    expectEditingKeys("Shift+", kShift, E0, {72, 80, 77, 75, 71, 79, 73, 81, 82, 83});
}

TEST(ConsoleKeyTable, CtrlWithCursorAndEditingKeys) {
    expectEditingKeys("Ctrl+", kCtrl, E0, {141, 145, 116, 115, 119, 117, 132, 118, 146, 147});
    expectEditingKeys("right Ctrl+", kRightCtrlPressed, E0,
                      {141, 145, 116, 115, 119, 117, 132, 118, 146, 147});
}

TEST(ConsoleKeyTable, AltWithCursorAndEditingKeys) {
    expectEditingKeys("Alt+", kAlt, 0, {152, 160, 157, 155, 151, 159, 153, 161, 162, 163});
    // Right Alt on a keyboard without AltGr comes without left Ctrl.
    expectEditingKeys("right Alt+", kRightAltPressed, 0,
                      {152, 160, 157, 155, 151, 159, 153, 161, 162, 163});
}

TEST(ConsoleKeyTable, FunctionKeys) {
    // clang-format off
    expectFunctionKeys("", kNoModifier, {{0, 59}, {0, 60}, {0, 61}, {0, 62}, {0, 63}, {0, 64},
                                         {0, 65}, {0, 66}, {0, 67}, {0, 68}, {E0, 133}, {E0, 134}});
    // clang-format on
}

TEST(ConsoleKeyTable, ShiftWithFunctionKeys) {
    // clang-format off
    expectFunctionKeys("Shift+", kShift, {{0, 84}, {0, 85}, {0, 86}, {0, 87}, {0, 88}, {0, 89},
                                          {0, 90}, {0, 91}, {0, 92}, {0, 93}, {E0, 135}, {E0, 136}});
    // clang-format on
}

TEST(ConsoleKeyTable, CtrlWithFunctionKeys) {
    // clang-format off
    expectFunctionKeys("Ctrl+", kCtrl, {{0, 94}, {0, 95}, {0, 96}, {0, 97}, {0, 98}, {0, 99},
                                        {0, 100}, {0, 101}, {0, 102}, {0, 103}, {E0, 137}, {E0, 138}});
    // clang-format on
}

TEST(ConsoleKeyTable, AltWithFunctionKeys) {
    // clang-format off
    expectFunctionKeys("Alt+", kAlt, {{0, 104}, {0, 105}, {0, 106}, {0, 107}, {0, 108}, {0, 109},
                                      {0, 110}, {0, 111}, {0, 112}, {0, 113}, {E0, 139}, {E0, 140}});
    // clang-format on
}

// The console reports Tab's character with Shift too; Shift+Tab has codes
// of its own, which come first.
TEST(ConsoleKeyTable, ShiftTab) {
    expectCodes({
        {"Shift+Tab", kVkTab, kShift, '\t', {0, 15}},
        {"Tab", kVkTab, kNoModifier, '\t', {'\t'}},
    });
}

// The console reports the character of the key pressed with Alt (the
// letter in either case); Alt is tested first.
TEST(ConsoleKeyTable, AltWithLettersDigitsMinusAndEquals) {
    // clang-format off
    const struct {
        int virtualKey;
        int code;
    } alt[] = {
        {'Q', 16}, {'W', 17}, {'E', 18}, {'R', 19}, {'T', 20}, {'Y', 21}, {'U', 22}, {'I', 23},
        {'O', 24}, {'P', 25},
        {'A', 30}, {'S', 31}, {'D', 32}, {'F', 33}, {'G', 34}, {'H', 35}, {'J', 36}, {'K', 37},
        {'L', 38},
        {'Z', 44}, {'X', 45}, {'C', 46}, {'V', 47}, {'B', 48}, {'N', 49}, {'M', 50},
        {'1', 120}, {'2', 121}, {'3', 122}, {'4', 123}, {'5', 124}, {'6', 125}, {'7', 126},
        {'8', 127}, {'9', 128}, {'0', 129},
        {kVkOemMinus, 130}, {kVkOemPlus, 131},
    };
    // clang-format on
    ASSERT_EQ(sizeof alt / sizeof alt[0], 26u + 10u + 2u);
    for (const auto& a : alt) {
        const bool letter = a.virtualKey >= 'A' && a.virtualKey <= 'Z';
        const int lower = letter ? a.virtualKey - 'A' + 'a' : a.virtualKey;
        const int character = a.virtualKey == kVkOemMinus  ? '-'
                              : a.virtualKey == kVkOemPlus ? '='
                                                           : lower;
        char name[40];
        std::snprintf(name, sizeof name, "Alt+key 0x%02X", a.virtualKey);
        SCOPED_TRACE(name);
        EXPECT_EQ(codesOf(a.virtualKey, kAlt, character), (std::vector<int>{0, a.code}));
        EXPECT_EQ(codesOf(a.virtualKey, kRightAltPressed, character),
                  (std::vector<int>{0, a.code}));
        if (letter) {
            EXPECT_EQ(codesOf(a.virtualKey, kAlt | kShift, a.virtualKey),
                      (std::vector<int>{0, a.code}));
            EXPECT_EQ(codesOf(a.virtualKey, kAlt | kCapsLockOn, a.virtualKey),
                      (std::vector<int>{0, a.code}));
        }
    }
    // The keypad's keys have the codes of lower-case letters ('a' is
    // keypad 1) but are no letters: with Alt they give nothing.
    for (int keypad = 'a'; keypad <= 'i'; ++keypad) {
        EXPECT_EQ(codesOf(keypad, kAlt, 0), std::vector<int>{}) << "key 0x" << std::hex << keypad;
    }
}

// Several of Shift, Ctrl and Alt together: Alt's codes before Ctrl's,
// Ctrl's before Shift's.
TEST(ConsoleKeyTable, CombinedModifiersPickAltThenCtrlThenShift) {
    // clang-format off
    expectCodes({
        {"Shift+Alt+Up", kVkUp, kShift | kAlt | kEnhancedKey, 0, {0, 152}},
        {"Shift+Ctrl+Up", kVkUp, kShift | kCtrl | kEnhancedKey, 0, {E0, 141}},
        {"Ctrl+Alt+Up", kVkUp, kCtrl | kAlt | kEnhancedKey, 0, {0, 152}},
        {"Shift+Ctrl+Alt+Up", kVkUp, kShift | kCtrl | kAlt | kEnhancedKey, 0, {0, 152}},
        {"right Ctrl+right Alt+Up", kVkUp, kRightCtrlPressed | kRightAltPressed | kEnhancedKey, 0, {0, 152}},
        {"Shift+Alt+F5", kVkF[5], kShift | kAlt, 0, {0, 108}},
        {"Shift+Ctrl+F5", kVkF[5], kShift | kCtrl, 0, {0, 98}},
        {"Ctrl+Alt+F5", kVkF[5], kCtrl | kAlt, 0, {0, 108}},
        {"Shift+Ctrl+Alt+F5", kVkF[5], kShift | kCtrl | kAlt, 0, {0, 108}},
        {"Shift+Ctrl+F12", kVkF12, kShift | kCtrl, 0, {E0, 138}},
        {"Shift+Alt+F12", kVkF12, kShift | kAlt, 0, {E0, 140}},
        {"Ctrl+Alt+Delete", kVkDelete, kCtrl | kAlt, 0, {0, 163}},
        {"Ctrl+Alt+Q", 'Q', kCtrl | kAlt, 0x11, {0, 16}},
        {"Shift+Alt+Tab", kVkTab, kShift | kAlt, '\t', {}},
    });
    // clang-format on
}

TEST(ConsoleKeyTable, LockBitsChangeNoCode) {
    const unsigned locks = kNumLockOn | kScrollLockOn | kCapsLockOn;
    expectCodes({
        {"grey Up", kVkUp, kEnhancedKey, 0, {E0, 72}},
        {"Up with the locks on", kVkUp, kEnhancedKey | locks, 0, {E0, 72}},
        {"Ctrl+Up with the locks on", kVkUp, kCtrl | kEnhancedKey | locks, 0, {E0, 141}},
        {"F6 with the locks on", kVkF[6], locks, 0, {0, 64}},
        {"Shift+F6 with the locks on", kVkF[6], kShift | locks, 0, {0, 89}},
        {"Alt+Y with the locks on", 'Y', kAlt | locks, 'Y', {0, 21}},
        {"a with Caps Lock", 'A', kCapsLockOn, 'A', {'A'}},
    });
}

TEST(ConsoleKeyCharacters, KeysWithACharacterGiveIt) {
    expectCodes({
        {"y", 'Y', kNoModifier, 'y', {'y'}},
        {"Shift+Y", 'Y', kShift, 'Y', {'Y'}},
        {"n", 'N', kNoModifier, 'n', {'n'}},
        {"digit", '7', kNoModifier, '7', {'7'}},
        {"Shift+digit", '7', kShift, '&', {'&'}},
        {"Space", kVkSpace, kNoModifier, ' ', {' '}},
        {"Enter", kVkReturn, kNoModifier, '\r', {'\r'}},
        {"Esc", kVkEscape, kNoModifier, 27, {27}},
        {"Backspace", kVkBack, kNoModifier, 8, {8}},
        {"Tab", kVkTab, kNoModifier, '\t', {'\t'}},
        {"Ctrl+Tab", kVkTab, kCtrl, '\t', {'\t'}},
        {"comma", kVkOemComma, kNoModifier, ',', {','}},
        // A byte of the code page above 127, with or without a key code.
        {"e acute", 0, kNoModifier, 0x82, {0x82}},
        {"e acute on its own key", 0xDE, kNoModifier, 0xE9, {0xE9}},
        {"code 255", 0, kNoModifier, 0xFF, {0xFF}},
    });
}

// With processed input off, Ctrl with a letter is a key like any other
// and gives its control character: Ctrl+C gives 3.
TEST(ConsoleKeyCharacters, CtrlWithALetterGivesItsControlCharacter) {
    expectCodes({
        {"Ctrl+C", 'C', kCtrl, 3, {3}},
        {"right Ctrl+C", 'C', kRightCtrlPressed, 3, {3}},
        {"Shift+Ctrl+C", 'C', kCtrl | kShift, 3, {3}},
        {"Ctrl+A", 'A', kCtrl, 1, {1}},
        {"Ctrl+Z", 'Z', kCtrl, 26, {26}},
        {"Ctrl+[", 0xDB, kCtrl, 27, {27}},
    });
}

// AltGr (right Alt reported with left Ctrl) types characters; it is
// neither Alt nor Ctrl.
TEST(ConsoleKeyCharacters, AltGrTypesCharacters) {
    expectCodes({
        {"AltGr+Q", 'Q', kAltGr, '@', {'@'}},
        {"AltGr+7", '7', kAltGr, '{', {'{'}},
        {"AltGr+E", 'E', kAltGr, 0x80, {0x80}},
        {"Shift+AltGr+key", 0xBF, kAltGr | kShift, 0x5C, {0x5C}},
        {"AltGr+Up", kVkUp, kAltGr | kEnhancedKey, 0, {E0, 72}},
        {"AltGr+F1", kVkF[1], kAltGr, 0, {0, 59}},
        {"AltGr+letter without a character", 'Y', kAltGr, 0, {}},
        // A real Alt or Ctrl held beside AltGr still counts.
        {"AltGr with left Alt", 'A', kAltGr | kLeftAltPressed, 'a', {0, 30}},
        {"AltGr with right Ctrl", kVkUp, kAltGr | kRightCtrlPressed | kEnhancedKey, 0, {E0, 141}},
    });
}

TEST(ConsoleKeySkipped, ModifiersAloneGiveNoCode) {
    expectCodes({
        {"Shift", kVkShift, kShift, 0, {}},
        {"left Shift", kVkLeftShift, kShift, 0, {}},
        {"Ctrl", kVkControl, kCtrl, 0, {}},
        {"right Ctrl", kVkControl, kRightCtrlPressed | kEnhancedKey, 0, {}},
        {"Alt", kVkMenu, kAlt, 0, {}},
        {"right Alt", kVkMenu, kRightAltPressed | kEnhancedKey, 0, {}},
        {"AltGr's Ctrl", kVkControl, kLeftCtrlPressed, 0, {}},
        {"AltGr", kVkMenu, kAltGr | kEnhancedKey, 0, {}},
        {"Shift with Ctrl and Alt held", kVkShift, kShift | kCtrl | kAlt, 0, {}},
        {"Caps Lock", kVkCapital, kCapsLockOn, 0, {}},
        {"Windows", kVkLeftWindows, kEnhancedKey, 0, {}},
    });
}

TEST(ConsoleKeySkipped, KeysWithoutCharacterOrCodeGiveNone) {
    expectCodes({
        {"keypad 5 with Num Lock off", kVkClear, kNoModifier, 0, {}},
        {"F13", kVkF13, kNoModifier, 0, {}},
        {"Ctrl+2", '2', kCtrl, 0, {}},
        {"Ctrl+Tab without a character", kVkTab, kCtrl, 0, {}},
    });
}

// Alt with a key that has no codes of its own gives nothing, not the
// key's character: Alt is tested before the character.
TEST(ConsoleKeySkipped, AltWithoutCodesOfItsOwnGivesNone) {
    expectCodes({
        {"Alt+Enter", kVkReturn, kAlt, '\r', {}},
        {"Alt+Tab", kVkTab, kAlt, '\t', {}},
        {"Alt+Space", kVkSpace, kAlt, ' ', {}},
        {"Alt+Esc", kVkEscape, kAlt, 27, {}},
        {"Alt+Backspace", kVkBack, kAlt, 8, {}},
        {"Alt+slash", kVkOemSlash, kAlt, '/', {}},
        {"Alt+comma", kVkOemComma, kAlt, ',', {}},
        {"Alt+e acute", 0, kAlt, 0x82, {}},
        {"Alt+F13", kVkF13, kAlt, 0, {}},
    });
}

// The keypad's keys with Num Lock off come without ENHANCED_KEY and lead
// with 0, as the runtime's key read gives them; the grey keys lead with
// 0xE0.
TEST(ConsoleKeypad, CursorKeysWithNumLockOffLeadWithZero) {
    expectCodes({
        {"keypad Up", kVkUp, kNoModifier, 0, {0, 72}},
        {"keypad Home", kVkHome, kNoModifier, 0, {0, 71}},
        {"keypad Page Down", kVkPageDown, kNoModifier, 0, {0, 81}},
        {"keypad Insert", kVkInsert, kNoModifier, 0, {0, 82}},
        {"keypad Delete", kVkDelete, kNoModifier, 0, {0, 83}},
        {"Shift+keypad End", kVkEnd, kShift, 0, {0, 79}},
        {"Ctrl+keypad Left", kVkLeft, kCtrl, 0, {0, 115}},
        {"grey Home", kVkHome, kEnhancedKey, 0, {E0, 71}},
        {"keypad digit with Num Lock on", kVkNumpad0 + 7, kNumLockOn, '7', {'7'}},
    });
}

// Alt with keypad digits composes one character: the digits give no key,
// the character comes with the release of Alt.
TEST(ConsoleKeypad, AltWithKeypadDigitsComposesOneKey) {
    expectCodes({
        {"Alt+keypad 1", kVkNumpad0 + 1, kAlt | kNumLockOn, 0, {}},
        {"Alt+keypad 3 with Num Lock off", kVkPageDown, kAlt, 0, {}},
        {"Alt+keypad 5 with Num Lock off", kVkClear, kAlt, 0, {}},
        {"Alt+keypad 0 with Num Lock off", kVkInsert, kAlt, 0, {}},
        {"Alt+grey Page Down", kVkPageDown, kAlt | kEnhancedKey, 0, {0, 161}},
    });
    const struct {
        const char* name;
        ConsoleKey released;
        std::vector<int> codes;
    } releases[] = {
        {"Alt released with the character", {kVkMenu, 0x82, 0, false}, {0x82}},
        {"Alt released alone", {kVkMenu, 0, 0, false}, {}},
        {"a letter released", {'A', 'a', 0, false}, {}},
    };
    for (const auto& r : releases) {
        SCOPED_TRACE(r.name);
        int codes[2] = {-100, -100};
        const int count = consoleKeyCodes(r.released, codes);
        EXPECT_EQ(std::vector<int>(codes, codes + count), r.codes);
    }
}

}  // namespace
