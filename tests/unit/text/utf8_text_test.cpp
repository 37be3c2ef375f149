// Names counted in characters as people write them, and judged for control
// codes by their bytes before the locale.
#include <gtest/gtest.h>

#include <string>

#include "keys/key_echo.h"
#include "text/utf8_text.h"

namespace {

int size(const std::string& text) { return static_cast<int>(text.size()); }

// A name's characters, and whether it is refused as holding a control
// code at a terminal of a one-byte locale (the C locale) and of a UTF-8 one.
struct NameCase {
    std::string name;
    int characters;
    bool refusedInC, refusedInUtf8;
};

const NameCase kNames[] = {
    {"Alice", 5, false, false},
    {"\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0", 4, false, false},  // Анна: D0 90 holds 0x90
    {"\xd0\x90\xd0\xbb\xd0\xb5\xd0\xba\xd1\x81\xd0\xb0\xd0\xbd\xd0\xb4\xd1\x80\xd0\xb8\xd0\xb9", 11,
     false, false},  // Александрий
    {"Abcdefghijkl", 12, false, false},
    {"Jos\xe9", 4, false, false},                       // Latin-1: a byte a character
    {"\xe2\x82\xac\xf0\x9f\x98\x80", 2, false, false},  // three and four bytes
    {"\xc2\xa0", 1, false, false},                      // U+00A0 is a character
    {"\xc2\x85", 1, true, true},                        // U+0085, a C1 control in UTF-8
    {"A\x85", 2, true, false},                          // a stray byte of the C1 range
    {"\xd0\x91\xd0", 2, true, false},                   // cut short: judged byte by byte
    {"\xe0\x80\x80", 3, true, false},                   // overlong: three bytes
    {"\xed\xa0\x80", 3, true, false},                   // a surrogate: three bytes
    {"\xf4\x90\x80\x80", 4, true, false},               // past U+10FFFF: four bytes
    {"A\x1b]0;t\x07", 7, true, true},
    {"del\x7f", 4, true, true},
};

TEST(NameCharacters, CountedAndJudgedByTheirBytesInEitherLocale) {
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.name);
        const char* text = c.name.data();
        EXPECT_EQ(characterCount(text, size(c.name)), c.characters);
        EXPECT_EQ(holdsControlCode(text, size(c.name), kHighCodesAsBytes), c.refusedInC);
        EXPECT_EQ(holdsControlCode(text, size(c.name), kHighCodesAsUtf8), c.refusedInUtf8);
    }
}

// Every cut after n characters holds n characters and leaves the rest
// whole: the two parts count as many characters as the text.
TEST(NameCharacters, ACutFallsBetweenCharacters) {
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.name);
        const char* text = c.name.data();
        for (int n = 0; n <= c.characters + 1; ++n) {
            const int cut = characterPrefixLength(text, size(c.name), n);
            EXPECT_EQ(characterCount(text, cut), n < c.characters ? n : c.characters);
            EXPECT_EQ(characterCount(text, cut) + characterCount(text + cut, size(c.name) - cut),
                      c.characters);
            if (isWellFormedUtf8(text, size(c.name))) {
                EXPECT_TRUE(isWellFormedUtf8(text, cut));
            }
        }
    }
}

}  // namespace
