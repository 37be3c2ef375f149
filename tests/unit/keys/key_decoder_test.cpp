#include "keys/key_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Sequence starts, pasted in front of the rest of a sequence.
#define ESC "\x1b"
#define CSI "\x1b["
#define SS3 "\x1bO"

// Bytes as a terminal sends them: bursts that arrive one after another.
// Within a burst every byte is there at once. Between two bursts lies a
// pause longer than any finite wait, so a read with a time limit at the
// end of a burst gets kNoByte, and a read without one gets the next burst.
// After the last burst the reader reports `whenUsedUp`.
struct ByteSource {
    std::vector<std::string> bursts;
    size_t burst = 0;
    size_t position = 0;
    int whenUsedUp = kNoByte;
    std::vector<int> timeouts;  // the time limit of every read, in order
    ByteInput input{};          // what the decoder keeps between keys
};

int readSourceByte(void* context, int timeoutMs) {
    ByteSource* source = static_cast<ByteSource*>(context);
    source->timeouts.push_back(timeoutMs);
    while (source->burst < source->bursts.size() &&
           source->position == source->bursts[source->burst].size()) {
        if (source->burst + 1 == source->bursts.size()) return source->whenUsedUp;
        ++source->burst;
        source->position = 0;
        if (timeoutMs >= 0) return kNoByte;
    }
    if (source->burst == source->bursts.size()) return source->whenUsedUp;
    return static_cast<unsigned char>(source->bursts[source->burst][source->position++]);
}

ByteSource sourceOf(std::vector<std::string> bursts, int whenUsedUp = kNoByte) {
    ByteSource source;
    source.bursts = std::move(bursts);
    source.whenUsedUp = whenUsedUp;
    return source;
}

// One decoded key, or false when the decoder had no key to give.
bool decodePress(ByteSource* source, KeyPress* key) {
    source->input.reader = readSourceByte;
    source->input.context = source;
    return decodeKey(&source->input, key);
}

// One decoded key: its codes, or {} when the decoder had no key to give.
std::vector<int> decodeOne(ByteSource* source) {
    KeyPress key = {{-100, -100}, -100, {0}, 0};
    if (!decodePress(source, &key)) return {};
    return std::vector<int>(
        key.codes, key.codes + (key.codeCount < 1 || key.codeCount > 2 ? 2 : key.codeCount));
}

// Every key until the reader has nothing more (at most `limit` keys).
std::vector<std::vector<int>> decodeAll(ByteSource* source, int limit = 100) {
    std::vector<std::vector<int>> keys;
    for (int i = 0; i < limit; ++i) {
        std::vector<int> key = decodeOne(source);
        if (key.empty()) break;
        keys.push_back(key);
    }
    return keys;
}

std::string printable(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        if (byte == 27) {
            text += "ESC ";
        } else if (byte < 0x20 || byte > 0x7E) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X ", byte);
            text += hex;
        } else {
            text += static_cast<char>(byte);
        }
    }
    return text;
}

struct KeyCase {
    std::string bytes;
    int lead;
    int second;
};

// Each sequence must decode to its two codes and leave the reader right
// behind it, having read each of its bytes once and nothing more (no wait
// for a pause after a complete sequence): the byte typed at once after it
// comes out as the next key, and then the input is used up.
void expectKeys(const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(printable(c.bytes));
        ByteSource source = sourceOf({c.bytes + "x"});
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{c.lead, c.second}));
        EXPECT_EQ(source.timeouts.size(), c.bytes.size());
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{'x'}));
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{}));
    }
}

const int E0 = 0xE0;

TEST(KeyDecoderTable, CursorAndEditingKeys) {
    // clang-format off
    expectKeys({
        {CSI "A", E0, 72}, {SS3 "A", E0, 72},
        {CSI "B", E0, 80}, {SS3 "B", E0, 80},
        {CSI "C", E0, 77}, {SS3 "C", E0, 77},
        {CSI "D", E0, 75}, {SS3 "D", E0, 75},
        {CSI "H", E0, 71}, {SS3 "H", E0, 71}, {CSI "1~", E0, 71}, {CSI "7~", E0, 71},
        {CSI "F", E0, 79}, {SS3 "F", E0, 79}, {CSI "4~", E0, 79}, {CSI "8~", E0, 79},
        {CSI "5~", E0, 73},
        {CSI "6~", E0, 81},
        {CSI "2~", E0, 82},
        {CSI "3~", E0, 83},
    });
    // clang-format on
}

TEST(KeyDecoderTable, ShiftWithCursorAndEditingKeysKeepsTheirCodes) {
    // clang-format off
    expectKeys({
        // x: the modifier parameter
        {CSI "1;2A", E0, 72}, {CSI "1;2B", E0, 80}, {CSI "1;2C", E0, 77}, {CSI "1;2D", E0, 75},
        {CSI "1;2H", E0, 71}, {CSI "1;2F", E0, 79},
        {CSI "1;2~", E0, 71}, {CSI "2;2~", E0, 82}, {CSI "3;2~", E0, 83}, {CSI "4;2~", E0, 79},
        {CSI "5;2~", E0, 73}, {CSI "6;2~", E0, 81}, {CSI "7;2~", E0, 71}, {CSI "8;2~", E0, 79},
        // r: lower-case arrow finals and the $ final
        {CSI "a", E0, 72}, {CSI "b", E0, 80}, {CSI "c", E0, 77}, {CSI "d", E0, 75},
        {CSI "7$", E0, 71}, {CSI "8$", E0, 79}, {CSI "2$", E0, 82}, {CSI "3$", E0, 83},
        {CSI "5$", E0, 73}, {CSI "6$", E0, 81},
    });
    // clang-format on
}

TEST(KeyDecoderTable, CtrlWithCursorAndEditingKeys) {
    // clang-format off
    expectKeys({
        {CSI "1;5A", E0, 141}, {CSI "1;5B", E0, 145}, {CSI "1;5D", E0, 115}, {CSI "1;5C", E0, 116},
        {SS3 "a", E0, 141}, {SS3 "b", E0, 145}, {SS3 "d", E0, 115}, {SS3 "c", E0, 116},
        {CSI "1;5H", E0, 119}, {CSI "1;5F", E0, 117}, {CSI "7^", E0, 119}, {CSI "8^", E0, 117},
        {CSI "5;5~", E0, 132}, {CSI "6;5~", E0, 118}, {CSI "5^", E0, 132}, {CSI "6^", E0, 118},
        {CSI "2;5~", E0, 146}, {CSI "3;5~", E0, 147}, {CSI "2^", E0, 146}, {CSI "3^", E0, 147},
        {CSI "1;5~", E0, 119}, {CSI "4;5~", E0, 117},
    });
    // clang-format on
}

TEST(KeyDecoderTable, AltWithCursorAndEditingKeys) {
    // clang-format off
    expectKeys({
        {CSI "1;3A", 0, 152}, {CSI "1;3B", 0, 160}, {CSI "1;3D", 0, 155}, {CSI "1;3C", 0, 157},
        {ESC CSI "A", 0, 152}, {ESC CSI "B", 0, 160}, {ESC CSI "D", 0, 155}, {ESC CSI "C", 0, 157},
        {ESC SS3 "A", 0, 152},
        {CSI "1;3H", 0, 151}, {CSI "1;3F", 0, 159}, {ESC CSI "7~", 0, 151}, {ESC CSI "8~", 0, 159},
        {CSI "5;3~", 0, 153}, {CSI "6;3~", 0, 161}, {ESC CSI "5~", 0, 153}, {ESC CSI "6~", 0, 161},
        {CSI "2;3~", 0, 162}, {CSI "3;3~", 0, 163}, {ESC CSI "2~", 0, 162}, {ESC CSI "3~", 0, 163},
    });
    // clang-format on
}

TEST(KeyDecoderTable, FunctionKeys) {
    // clang-format off
    expectKeys({
        {SS3 "P", 0, 59}, {SS3 "Q", 0, 60}, {SS3 "R", 0, 61}, {SS3 "S", 0, 62},
        {CSI "[A", 0, 59}, {CSI "[B", 0, 60}, {CSI "[C", 0, 61}, {CSI "[D", 0, 62},
        {CSI "11~", 0, 59}, {CSI "12~", 0, 60}, {CSI "13~", 0, 61}, {CSI "14~", 0, 62},
        {CSI "15~", 0, 63}, {CSI "[E", 0, 63},
        {CSI "17~", 0, 64}, {CSI "18~", 0, 65}, {CSI "19~", 0, 66}, {CSI "20~", 0, 67},
        {CSI "21~", 0, 68},
        {CSI "23~", E0, 133}, {CSI "24~", E0, 134},
    });
    // clang-format on
}

TEST(KeyDecoderTable, ShiftWithFunctionKeys) {
    // clang-format off
    expectKeys({
        {CSI "1;2P", 0, 84}, {CSI "1;2Q", 0, 85}, {CSI "1;2R", 0, 86}, {CSI "1;2S", 0, 87},
        {CSI "15;2~", 0, 88}, {CSI "17;2~", 0, 89}, {CSI "18;2~", 0, 90}, {CSI "19;2~", 0, 91},
        {CSI "20;2~", 0, 92}, {CSI "21;2~", 0, 93},
        // Linux console and rxvt, Shift+F3 ... F10
        {CSI "25~", 0, 86}, {CSI "26~", 0, 87}, {CSI "28~", 0, 88}, {CSI "29~", 0, 89},
        {CSI "31~", 0, 90}, {CSI "32~", 0, 91}, {CSI "33~", 0, 92}, {CSI "34~", 0, 93},
        {CSI "23;2~", E0, 135}, {CSI "24;2~", E0, 136}, {CSI "23$", E0, 135}, {CSI "24$", E0, 136},
    });
    // clang-format on
}

TEST(KeyDecoderTable, CtrlWithFunctionKeys) {
    // clang-format off
    expectKeys({
        {CSI "1;5P", 0, 94}, {CSI "1;5Q", 0, 95}, {CSI "1;5R", 0, 96}, {CSI "1;5S", 0, 97},
        {CSI "15;5~", 0, 98}, {CSI "17;5~", 0, 99}, {CSI "18;5~", 0, 100}, {CSI "19;5~", 0, 101},
        {CSI "20;5~", 0, 102}, {CSI "21;5~", 0, 103},
        {CSI "11^", 0, 94}, {CSI "12^", 0, 95}, {CSI "13^", 0, 96}, {CSI "14^", 0, 97},
        {CSI "15^", 0, 98}, {CSI "17^", 0, 99}, {CSI "18^", 0, 100}, {CSI "19^", 0, 101},
        {CSI "20^", 0, 102}, {CSI "21^", 0, 103},
        {CSI "23;5~", E0, 137}, {CSI "24;5~", E0, 138}, {CSI "23^", E0, 137}, {CSI "24^", E0, 138},
    });
    // clang-format on
}

TEST(KeyDecoderTable, AltWithFunctionKeys) {
    // clang-format off
    expectKeys({
        {CSI "1;3P", 0, 104}, {CSI "1;3Q", 0, 105}, {CSI "1;3R", 0, 106}, {CSI "1;3S", 0, 107},
        {CSI "15;3~", 0, 108}, {CSI "17;3~", 0, 109}, {CSI "18;3~", 0, 110}, {CSI "19;3~", 0, 111},
        {CSI "20;3~", 0, 112}, {CSI "21;3~", 0, 113},
        // Esc in front of the plain sequence, whichever form it has
        {ESC CSI "11~", 0, 104}, {ESC CSI "12~", 0, 105}, {ESC CSI "13~", 0, 106},
        {ESC CSI "14~", 0, 107}, {ESC CSI "15~", 0, 108}, {ESC CSI "17~", 0, 109},
        {ESC CSI "18~", 0, 110}, {ESC CSI "19~", 0, 111}, {ESC CSI "20~", 0, 112},
        {ESC CSI "21~", 0, 113},
        {ESC SS3 "P", 0, 104}, {ESC CSI "[E", 0, 108},
        {CSI "23;3~", E0, 139}, {CSI "24;3~", E0, 140}, {ESC CSI "23~", E0, 139},
    });
    // clang-format on
}

TEST(KeyDecoderTable, ShiftTab) { expectKeys({{CSI "Z", 0, 15}, {CSI "1;2Z", 0, 15}}); }

TEST(KeyDecoderTable, AltWithLettersInEitherCaseDigitsMinusAndEquals) {
    // clang-format off
    const struct {
        char character;
        int code;
    } alt[] = {
        {'q', 16}, {'w', 17}, {'e', 18}, {'r', 19}, {'t', 20}, {'y', 21}, {'u', 22}, {'i', 23},
        {'o', 24}, {'p', 25},
        {'a', 30}, {'s', 31}, {'d', 32}, {'f', 33}, {'g', 34}, {'h', 35}, {'j', 36}, {'k', 37},
        {'l', 38},
        {'z', 44}, {'x', 45}, {'c', 46}, {'v', 47}, {'b', 48}, {'n', 49}, {'m', 50},
        {'1', 120}, {'2', 121}, {'3', 122}, {'4', 123}, {'5', 124}, {'6', 125}, {'7', 126},
        {'8', 127}, {'9', 128}, {'0', 129},
        {'-', 130}, {'=', 131},
    };
    // clang-format on
    std::vector<KeyCase> cases;
    for (const auto& a : alt) {
        cases.push_back({std::string(ESC) + a.character, 0, a.code});
        const char upper = static_cast<char>(a.character - 'a' + 'A');
        // ESC O with a byte right behind it is SS3; see EscOWithNothingAfterItIsAltO.
        if (a.character >= 'a' && a.character <= 'z' && upper != 'O') {
            cases.push_back({std::string(ESC) + upper, 0, a.code});
        }
    }
    EXPECT_EQ(cases.size(), 26u * 2 - 1 + 12);
    expectKeys(cases);
}

// Several of Shift, Ctrl and Alt together: Alt's codes before Ctrl's,
// Ctrl's before Shift's.
TEST(KeyDecoderTable, CombinedModifiersPickAltThenCtrlThenShift) {
    // clang-format off
    expectKeys({
        {CSI "1;4A", 0, 152},     // Shift+Alt
        {CSI "1;6A", E0, 141},    // Shift+Ctrl
        {CSI "1;7A", 0, 152},     // Alt+Ctrl
        {CSI "1;8A", 0, 152},     // Shift+Alt+Ctrl
        {CSI "15;4~", 0, 108}, {CSI "15;6~", 0, 98}, {CSI "15;7~", 0, 108}, {CSI "15;8~", 0, 108},
        {CSI "24;6~", E0, 138}, {CSI "24;4~", E0, 140},
    });
    // clang-format on
}

TEST(KeyDecoderTable, RxvtModifierFormsCombine) {
    // clang-format off
    expectKeys({
        {ESC CSI "a", 0, 152},    // Alt+Shift+Up
        {ESC SS3 "a", 0, 152},    // Alt+Ctrl+Up
        {ESC CSI "7$", 0, 151},   // Alt+Shift+Home
        {ESC CSI "2^", 0, 162},   // Alt+Ctrl+Insert
        {CSI "2@", E0, 146},      // Shift+Ctrl+Insert
        {CSI "25^", 0, 96},       // Ctrl+Shift+F3
        {ESC CSI "25~", 0, 106},  // Alt+Shift+F3
        {ESC CSI "23$", E0, 139}, // Alt+Shift+F11
    });
    // clang-format on
}

// A sequence ends at its final byte, whatever comes at once after it:
// rxvt's '$' after a key number (elsewhere an intermediate byte), '^' and
// '@', and the Linux console's ESC [ [ and a letter, each followed by a
// byte that could have continued a sequence.
TEST(KeyDecoderTable, SequencesEndAtTheirFinalByteWhateverFollows) {
    // clang-format off
    const struct {
        const char* bytes;
        std::vector<std::vector<int>> keys;
    } cases[] = {
        {CSI "2$" "y", {{E0, 82}, {'y'}}},          // Shift+Insert
        {CSI "7$" "y", {{E0, 71}, {'y'}}},          // Shift+Home
        {CSI "2$" "p", {{E0, 82}, {'p'}}},
        {CSI "23$" "$", {{E0, 135}, {'$'}}},        // Shift+F11
        {CSI "3$" "5~", {{E0, 83}, {'5'}, {'~'}}},
        {CSI "6$" CSI "A", {{E0, 81}, {E0, 72}}},
        {ESC CSI "5$" "y", {{0, 153}, {'y'}}},      // Alt+Shift+Page Up
        {CSI "2^" "y", {{E0, 146}, {'y'}}},         // Ctrl+Insert
        {CSI "21^" "^", {{0, 103}, {'^'}}},         // Ctrl+F10
        {CSI "8@" "y", {{E0, 117}, {'y'}}},         // Shift+Ctrl+End
        {CSI "24@" "@", {{E0, 138}, {'@'}}},        // Shift+Ctrl+F12
        {CSI "[A" "y", {{0, 59}, {'y'}}},           // F1 on the Linux console
        {CSI "[E" "[", {{0, 63}, {'['}}},
        {ESC CSI "[B" "y", {{0, 105}, {'y'}}},      // Alt+F2
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(printable(c.bytes));
        ByteSource source = sourceOf({c.bytes});
        EXPECT_EQ(decodeAll(&source), c.keys);
    }
}

// Older terminals put the modifier as the only parameter, after SS3 or
// before a letter final; an explicit 1 or an empty field is no modifier.
TEST(KeyDecoderTable, ModifierInTheOnlyOrAnEmptyParameter) {
    // clang-format off
    expectKeys({
        {SS3 "5A", E0, 141}, {SS3 "2P", 0, 84}, {SS3 "3H", 0, 151}, {SS3 "1A", E0, 72},
        {CSI "5A", E0, 141}, {CSI "1A", E0, 72}, {CSI "1;1A", E0, 72}, {CSI ";5D", E0, 115},
        {CSI "5;~", E0, 73}, {CSI "5;1~", E0, 73}, {CSI "0015;5~", 0, 98},
    });
    // clang-format on
}

// Sequences that name no key are taken whole and dropped; the key after
// them is decoded as if they had not been there.
TEST(KeyDecoderUnknown, WholeSequencesAreDroppedAndTheNextKeyIsRead) {
    // clang-format off
    const char* const unknown[] = {
        CSI "99~",            // no such key number
        CSI "9~", CSI "22~", CSI "27~", CSI "30~", CSI "35~",
        CSI "~", CSI ";5~",   // no key number at all
        CSI "1;9A", CSI "15;16~",         // Meta is none of ours
        CSI "E", CSI "G", SS3 "E", SS3 "M", SS3 "x", SS3 "5M",
        CSI "?1;2c",          // private marker
        CSI ">0;95;0c",
        CSI "1:5A",           // sub-parameter
        CSI "1;5;2A",         // three parameters
        CSI ";;;;;;;;A",
        CSI "1 q", CSI "1!p", CSI "!!~",  // intermediate bytes
        CSI "200~", CSI "201~",           // the marks around a paste
        CSI "99999999999999999999999~",   // a number far beyond int
        CSI "4294967301~",                // 2^32 + 5, not Page Up
        CSI "1;4294967301A",
        CSI "1;99999999999999999999A",
        SS3 "99999999999999999999A",
        CSI "[F", CSI "[a", CSI "[~",     // Linux console form, unknown letter
        CSI "1;5Z", CSI "1;6Z",           // Tab has no code with Ctrl
        ESC CSI "Z",          // Alt+Shift+Tab: no code for Alt+Tab
        CSI "1;3Z",
        ESC CSI "99~", ESC SS3 "M", ESC CSI "[F",
        CSI "@", CSI "^", CSI "$q",       // rxvt finals without a key number
        CSI "?1;2$y", CSI "1;2$y",        // '$' is an intermediate byte but after a lone key number
        CSI "1$", CSI "9$",               // rxvt's Shift mark on a number no key has
        CSI "1 5A", CSI "1!;5~",          // parameter bytes after an intermediate
        SS3 "5;A", SS3 "?P", SS3 " A",    // only digits may come between SS3 and its final
    };
    // clang-format on
    for (const char* bytes : unknown) {
        SCOPED_TRACE(printable(bytes));
        ByteSource source = sourceOf({std::string(bytes) + "x" CSI "Ay"});
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{'x'}));
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{E0, 72}));
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{'y'}));
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{}));
    }
}

TEST(KeyDecoderUnknown, SeveralUnknownSequencesInARowAreAllDropped) {
    ByteSource source = sourceOf({CSI "99~" SS3 "M" CSI "?1;2c" CSI "?1;2$y" CSI "B"});
    EXPECT_EQ(decodeOne(&source), (std::vector<int>{E0, 80}));
    EXPECT_EQ(decodeOne(&source), (std::vector<int>{}));
}

TEST(KeyDecoderUnknown, UnknownSequenceInItsOwnBurstWaitsForTheNextKey) {
    ByteSource source = sourceOf({CSI "99~", "q"});
    EXPECT_EQ(decodeOne(&source), (std::vector<int>{'q'}));
}

// A byte that cannot continue a sequence ends it; the sequence is dropped
// with that byte, but an Esc there starts the next key.
TEST(KeyDecoderUnknown, BrokenSequences) {
    // clang-format off
    const struct {
        const char* bytes;
        std::vector<std::vector<int>> keys;
    } cases[] = {
        {CSI "1;5\r" "x", {{'\r'}, {'x'}}},
        {CSI "1;5\x80" "x", {{0x80}, {'x'}}},
        {SS3 "5\r" "x", {{'\r'}, {'x'}}},
        {SS3 "\r" "x", {{0, 24}, {'\r'}, {'x'}}},  // ESC O alone is Alt+O
        {CSI "[\x01" "x", {{1}, {'x'}}},
        {CSI "\xc3\xa9", {{0xE9}}},
        {CSI "1;5" CSI "A" "x", {{E0, 72}, {'x'}}},
        {SS3 "5" CSI "B", {{E0, 80}}},
        {CSI "[" ESC "q", {{0, 16}}},
        {ESC ESC CSI "C", {{27}, {0, 157}}},    // Esc, then Alt+Right as rxvt sends it
        {ESC ESC ESC "q", {{27}, {27}, {0, 16}}},
        {CSI "7$" "\r", {{E0, 71}, {'\r'}}},   // rxvt's Shift+Home, ended by Enter
        {CSI "1" ESC, {{27}}},                  // the Esc that broke it is a lone Esc
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(printable(c.bytes));
        ByteSource source = sourceOf({c.bytes});
        EXPECT_EQ(decodeAll(&source), c.keys);
    }
}

TEST(KeyDecoderEscape, LoneEscIsCode27) {
    ByteSource alone = sourceOf({ESC});
    EXPECT_EQ(decodeOne(&alone), (std::vector<int>{27}));
    EXPECT_EQ(decodeOne(&alone), (std::vector<int>{}));

    ByteSource thenKey = sourceOf({ESC, "x", ESC, CSI "A", ESC, ESC});
    EXPECT_EQ(decodeAll(&thenKey),
              (std::vector<std::vector<int>>{{27}, {'x'}, {27}, {E0, 72}, {27}, {27}}));
}

TEST(KeyDecoderEscape, EscOWithNothingAfterItIsAltO) {
    ByteSource source = sourceOf({SS3, "x"});
    EXPECT_EQ(decodeAll(&source), (std::vector<std::vector<int>>{{0, 24}, {'x'}}));
}

// The terminal sends a sequence in one go; when it stops in the middle,
// what came is dropped and the next key is read normally.
TEST(KeyDecoderEscape, CutOffSequencesAreDropped) {
    // clang-format off
    const char* const cutOff[] = {
        CSI, CSI "1", CSI "1;", CSI "1;5", CSI "15;2", CSI "?", CSI "1 ",
        SS3 "5", SS3 "12",
        CSI "[",
        ESC CSI, ESC SS3, ESC CSI "1;", ESC CSI "[", ESC SS3 "5",
    };
    // clang-format on
    for (const char* bytes : cutOff) {
        SCOPED_TRACE(printable(bytes));
        ByteSource source = sourceOf({bytes, "x", CSI "A"});
        EXPECT_EQ(decodeAll(&source), (std::vector<std::vector<int>>{{'x'}, {E0, 72}}));

        ByteSource atTheEnd = sourceOf({bytes});
        EXPECT_EQ(decodeAll(&atTheEnd), (std::vector<std::vector<int>>{}));
    }
}

// With bracketed paste on, the terminal sends a paste between ESC [ 200 ~
// and ESC [ 201 ~. The marks are no keys; what was pasted is read as if
// typed, wherever the pauses fall.
TEST(KeyDecoderPaste, TheMarksAroundAPasteAreNoKeys) {
    // clang-format off
    const struct {
        std::vector<std::string> bursts;
        std::vector<std::vector<int>> keys;
    } cases[] = {
        {{CSI "200~" "Y" CSI "201~"}, {{'Y'}}},
        {{CSI "200~", "Y", CSI "201~"}, {{'Y'}}},
        {{CSI "200~" "q" CSI "201~" "n"}, {{'q'}, {'n'}}},
        {{CSI "200~" "Yes\r" CSI "201~"}, {{'Y'}, {'e'}, {'s'}, {'\r'}}},
        {{CSI "200~" "\xc3\xa9" CSI "201~"}, {{0xE9}}},
        {{CSI "200~" CSI "A" CSI "201~"}, {{E0, 72}}},
        {{CSI "200~" CSI "201~", "n"}, {{'n'}}},
        {{CSI "201~", "y"}, {{'y'}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(printable(c.bursts[0]));
        ByteSource source = sourceOf(c.bursts);
        EXPECT_EQ(decodeAll(&source), c.keys);
    }
}

// Only the first byte of a key is waited for without limit; every byte
// after its Esc is waited for kEscapeWaitMs.
TEST(KeyDecoderEscape, WaitsWithoutLimitOnlyForTheFirstByte) {
    ByteSource source = sourceOf({"a" ESC CSI "15;5~", ESC, CSI "1", "b"});
    EXPECT_EQ(decodeAll(&source), (std::vector<std::vector<int>>{{'a'}, {0, 108}, {27}, {'b'}}));
    const int w = kEscapeWaitMs;
    // clang-format off
    EXPECT_EQ(source.timeouts, (std::vector<int>{
                                   -1,                              // a
                                   -1, w, w, w, w, w, w, w,         // ESC ESC [ 1 5 ; 5 ~
                                   -1, w,                           // ESC, pause
                                   -1, w, w, w,                     // ESC [ 1, pause
                                   -1,                              // b
                                   -1}));                           // used up
    // clang-format on
}

TEST(KeyDecoderPlain, BytesOtherThanEscAreKeysOfOneCode) {
    const std::string bytes("\x00\r\x03\n\tAz\x7f\x80\x9b\xe0\xff[O~", 15);
    ByteSource source = sourceOf({bytes});
    std::vector<std::vector<int>> expected;
    for (unsigned char byte : bytes) expected.push_back({byte});
    EXPECT_EQ(decodeAll(&source), expected);
}

TEST(KeyDecoderPlain, AllByteValuesButEsc) {
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 27) continue;
        SCOPED_TRACE(byte);
        ByteSource source = sourceOf({std::string(1, static_cast<char>(byte))});
        EXPECT_EQ(decodeOne(&source), (std::vector<int>{byte}));
    }
}

TEST(KeyDecoderFailure, ReaderFailureGivesZeroAtAnyPoint) {
    // clang-format off
    const char* const beforeFailure[] = {
        "", ESC, CSI, CSI "1;5", CSI "1 ", SS3, SS3 "5", CSI "[",
        ESC ESC, ESC CSI, ESC SS3, ESC CSI "2", ESC CSI "[",
    };
    // clang-format on
    for (const char* bytes : beforeFailure) {
        SCOPED_TRACE(printable(bytes));
        ByteSource source = sourceOf({bytes}, kByteFailure);
        KeyPress key;
        EXPECT_FALSE(decodePress(&source, &key));
    }
}

TEST(KeyDecoderFailure, KeysBeforeTheFailureStillCome) {
    ByteSource source = sourceOf({"a" CSI "A" CSI "99~"}, kByteFailure);
    EXPECT_EQ(decodeAll(&source), (std::vector<std::vector<int>>{{'a'}, {E0, 72}}));
}

// A reader that waited without a limit and still brought nothing has
// nothing more to give.
TEST(KeyDecoderFailure, NoByteAtTheFirstByteGivesZero) {
    ByteSource source = sourceOf({});
    KeyPress key;
    EXPECT_FALSE(decodePress(&source, &key));
}

// Every table sequence back to back in one burst: each one ends exactly
// where the grammar says, so none eats a byte of the next.
TEST(KeyDecoderTable, SequencesBackToBack) {
    // clang-format off
    const KeyCase keys[] = {
        {CSI "A", E0, 72}, {SS3 "P", 0, 59}, {CSI "[A", 0, 59}, {CSI "1;5C", E0, 116},
        {ESC "q", 0, 16}, {CSI "23$", E0, 135}, {ESC CSI "5~", 0, 153}, {CSI "Z", 0, 15},
        {ESC "O" "q", 0, 0},  // SS3 q: unknown, dropped
        {CSI "21^", 0, 103}, {ESC "=", 0, 131}, {SS3 "d", E0, 115}, {CSI "7$", E0, 71},
        {ESC SS3 "Q", 0, 105}, {CSI "34~", 0, 93}, {CSI "24;3~", E0, 140},
    };
    // clang-format on
    std::string input;
    std::vector<std::vector<int>> expected;
    for (const KeyCase& k : keys) {
        input += k.bytes;
        if (k.lead != 0 || k.second != 0) expected.push_back({k.lead, k.second});
    }
    ByteSource source = sourceOf({input});
    EXPECT_EQ(decodeAll(&source), expected);
}

// Nothing typed is lost: Esc followed at once by a byte that starts no
// sequence and has no Alt row is two keys, Esc and then that byte.
TEST(KeyDecoderEscape, EscThenAByteWithoutAnAltRowIsTwoKeys) {
    // clang-format off
    const struct {
        const char* bytes;
        std::vector<std::vector<int>> keys;
    } cases[] = {
        {ESC ESC, {{27}, {27}}},
        {ESC ESC ESC, {{27}, {27}, {27}}},
        {ESC ESC "x", {{27}, {0, 45}}},
        {ESC "\r", {{27}, {'\r'}}},
        {ESC " ", {{27}, {' '}}},
        {ESC "!", {{27}, {'!'}}},
        {ESC "\x7f", {{27}, {0x7F}}},
        {ESC "\x01", {{27}, {1}}},
        {ESC "\x80", {{27}, {0x80}}},
        {ESC "\xc3\xa9", {{27}, {0xE9}}},
        {ESC "[" "\x01", {{1}}},  // a cut-off sequence: dropped, the byte that cut it kept
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(printable(c.bytes));
        ByteSource source = sourceOf({c.bytes});
        EXPECT_EQ(decodeAll(&source), c.keys);
    }
}

// A character of several UTF-8 bytes is one key: its number below 256,
// '?' above, and its own bytes to echo. Bytes that form no character
// are keys one by one.
TEST(KeyDecoderCharacters, Utf8CharactersAreOneKey) {
    // clang-format off
    const struct {
        std::vector<std::string> bursts;
        std::vector<std::vector<int>> keys;
        std::string firstText;
    } cases[] = {
        {{"\xc3\xa9" "x"}, {{0xE9}, {'x'}}, "\xc3\xa9"},                // e acute
        {{"\xc2\xa0"}, {{0xA0}}, "\xc2\xa0"},                           // no-break space
        {{"\xe2\x82\xac"}, {{'?'}}, "\xe2\x82\xac"},                     // euro sign
        {{"\xf0\x9f\x98\x80"}, {{'?'}}, "\xf0\x9f\x98\x80"},              // beyond the BMP
        {{"\xc2\x9b"}, {{0x9B}}, ""},                                     // C1: echoed in caret form
        {{"\xc3" "x"}, {{0xC3}, {'x'}}, ""},                               // a lead without its rest
        {{"\xc3", "\xa9"}, {{0xC3}, {0xA9}}, ""},                          // split by a pause
        {{"\xe2\x82" "x"}, {{0xE2}, {0x82}, {'x'}}, ""},
        {{"\xe0\x80\x80"}, {{0xE0}, {0x80}, {0x80}}, ""},                  // overlong
        {{"\xed\xa0\x80"}, {{0xED}, {0xA0}, {0x80}}, ""},                  // a surrogate
        {{"\xf4\x90\x80\x80"}, {{0xF4}, {0x90}, {0x80}, {0x80}}, ""},       // beyond U+10FFFF
        {{"\xc0\xaf" "\xa9"}, {{0xC0}, {0xAF}, {0xA9}}, ""},
        {{"\xc3" CSI "A"}, {{0xC3}, {E0, 72}}, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(printable(c.bursts[0]));
        ByteSource source = sourceOf(c.bursts);
        KeyPress first;
        ASSERT_TRUE(decodePress(&source, &first));
        EXPECT_EQ(std::string(first.text, first.textLength), c.firstText);
        std::vector<std::vector<int>> keys = {
            std::vector<int>(first.codes, first.codes + first.codeCount)};
        for (const std::vector<int>& key : decodeAll(&source)) keys.push_back(key);
        EXPECT_EQ(keys, c.keys);
    }
}

// However long, a sequence is taken to its end and dropped.
TEST(KeyDecoderUnknown, LongSequencesAreDroppedWhole) {
    for (const std::string& bytes :
         {CSI + std::string(100, '1') + "~", CSI + std::string(40, ';') + "A",
          SS3 + std::string(30, '5') + "A", ESC CSI + std::string(20, '2') + "~"}) {
        SCOPED_TRACE(printable(bytes));
        ByteSource source = sourceOf({bytes + "x"});
        EXPECT_EQ(decodeAll(&source), (std::vector<std::vector<int>>{{'x'}}));
    }
}

}  // namespace
