// The print fields, and how echoed keys look.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <string>

#include "keys/key_echo.h"
#include "text/text_format.h"

namespace {

std::string format(int capacity, const char* pattern, ...) {
    char text[512];
    va_list args;
    va_start(args, pattern);
    const int length = formatText(text, capacity, pattern, args);
    va_end(args);
    EXPECT_EQ(static_cast<size_t>(length), std::string(text).size());
    return text;
}

TEST(FormatText, IntegerFieldsAndWidths) {
    EXPECT_EQ(format(512, "\n GM[%d][%d]=  ", 1, 10), "\n GM[1][10]=  ");
    EXPECT_EQ(format(512, "|%2d|%3d|%3d|", 7, -5, 0), "| 7| -5|  0|");
    // A longer number takes the room it needs.
    EXPECT_EQ(format(512, "|%2d|%3d|", 123, -12345), "|123|-12345|");
    EXPECT_EQ(format(512, "%d %d", INT_MIN, INT_MAX), "-2147483648 2147483647");
}

TEST(FormatText, StringsFloatsAndPercent) {
    EXPECT_EQ(format(512, "\n S'[%s] = ( ", "Alice"), "\n S'[Alice] = ( ");
    EXPECT_EQ(format(512, "%f -> %d ", 3.0520833730697632, 3), "3.052083 -> 3 ");
    EXPECT_EQ(format(512, "|  %.2f  |", 3.125), "|  3.13  |");
    EXPECT_EQ(format(512, "%f", -0.5), "-0.500000");
    EXPECT_EQ(format(512, "100%% %q"), "100% %q");
    EXPECT_EQ(format(512, "ends with %"), "ends with %");
}

TEST(FormatText, CutsAtCapacity) {
    EXPECT_EQ(format(6, "%s and more", "abc"), "abc a");
    EXPECT_EQ(format(4, "%d", 123456), "123");
    EXPECT_EQ(format(1, "anything"), "");
}

std::string written;

void keepWritten(const char* text, int length) { written.append(text, length); }

std::string writeWhole(const char* pattern, ...) {
    written.clear();
    va_list args;
    va_start(args, pattern);
    writeFormatted(keepWritten, pattern, args);
    va_end(args);
    return written;
}

// However long the text, the writer hands all of it on, in order: a long
// path in a message keeps its end and its line end.
TEST(WriteFormatted, NothingIsCut) {
    const std::string path(5000, 'p');
    const std::string literal(1500, 'l');
    EXPECT_EQ(writeWhole("cannot open '%s': %s\n", path.c_str(), "No such file or directory"),
              "cannot open '" + path + "': No such file or directory\n");
    EXPECT_EQ(writeWhole((literal + "%d").c_str(), 7), literal + "7");
    EXPECT_EQ(writeWhole("[%700s]", "x"), "[" + std::string(699, ' ') + "x]");
    EXPECT_EQ(writeWhole("%s", ""), "");
}

TEST(KeyEchoText, ControlCodesInCaretForm) {
    // clang-format off
    const struct {
        int code;
        const char* shown;
    } cases[] = {
        {'Y', "Y"},     {'n', "n"},     {' ', " "},       {'~', "~"},
        {'\t', "\t"},   {'\r', "\r"},   {'\n', "\n"},     {'\b', "\b"},
        {0, "^@"},      {3, "^C"},      {27, "^["},       {31, "^_"},
        {127, "^?"},    {0x9B, "M-^["}, {0x80, "M-^@"},   {0x88, "M-^H"},
        {0xE0, "\xE0"}, {0xFF, "\xFF"}, {0x100 | 'Y', "Y"},
    };
    // clang-format on
    for (const auto& c : cases) {
        char text[5];
        const int length = keyEchoText(c.code, kHighCodesAsBytes, text);
        EXPECT_EQ(std::string(text, length), c.shown) << "code " << c.code;
        EXPECT_EQ(text[length], '\0');
    }
}

// In a Windows code page the codes from 0x80 up are characters.
TEST(KeyEchoText, HighCodesAsCharactersOnAWindowsConsole) {
    for (const int code : {0x80, 0x82, 0x9B, 0xE0, 0xFF}) {
        char text[5];
        EXPECT_EQ(std::string(text, keyEchoText(code, kHighCodesAsCodePage, text)),
                  std::string(1, static_cast<char>(code)));
    }
    char text[5];
    EXPECT_EQ(std::string(text, keyEchoText(27, kHighCodesAsCodePage, text)), "^[");
}

// In a UTF-8 locale a code from 0xA0 up is the character of that number,
// in UTF-8; every other code is shown as in a locale of single bytes.
TEST(KeyEchoText, HighCodesAsUtf8CharactersInAUtf8Locale) {
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        char text[5];
        const std::string shown(text, keyEchoText(code, kHighCodesAsUtf8, text));
        char single[5];
        const std::string asBytes(single, keyEchoText(code, kHighCodesAsBytes, single));
        if (code < 0xA0) {
            EXPECT_EQ(shown, asBytes);
            continue;
        }
        ASSERT_EQ(shown.size(), 2u);
        const int lead = static_cast<unsigned char>(shown[0]);
        const int next = static_cast<unsigned char>(shown[1]);
        EXPECT_TRUE(lead == 0xC2 || lead == 0xC3);  // a valid lead, never an overlong form
        EXPECT_EQ(next & 0xC0, 0x80);
        EXPECT_EQ((lead & 0x1F) << 6 | (next & 0x3F), code);
    }
    char text[5];
    EXPECT_EQ(std::string(text, keyEchoText(0xE0, kHighCodesAsUtf8, text)), "\xc3\xa0");
}

// An answer from a game file is shown as a terminal echoes what is typed:
// nothing in it may reach the terminal as a control code.
TEST(AnswerByteText, ControlCodesAreShownNotSent) {
    const struct {
        int byte;
        HighCodeEcho highCodes;
        const char* shown;
    } cases[] = {
        {'a', kHighCodesAsBytes, "a"},        {'\t', kHighCodesAsBytes, "\t"},
        {0x1B, kHighCodesAsBytes, "^["},      {0x07, kHighCodesAsUtf8, "^G"},
        {0x08, kHighCodesAsBytes, "^H"},      {0x00, kHighCodesAsBytes, "^@"},
        {0x7F, kHighCodesAsUtf8, "^?"},       {0x9B, kHighCodesAsBytes, "M-^["},
        {0x9B, kHighCodesAsUtf8, "\x9b"},  // a part of a character there
        {0x9B, kHighCodesAsCodePage, "\x9b"}, {0xE9, kHighCodesAsBytes, "\xe9"},
    };
    for (const auto& c : cases) {
        char out[5];
        const int length = answerByteText(c.byte, c.highCodes, out);
        EXPECT_EQ(std::string(out, length), c.shown) << "byte " << c.byte;
        EXPECT_EQ(static_cast<size_t>(length), std::strlen(out));
    }
}

TEST(HoldsControlCode, ByTheWayTheConsoleTakesHighCodes) {
    const struct {
        std::string text;
        bool asBytes, asUtf8, asCodePage;
    } cases[] = {
        {"Alice", false, false, false},
        {"\xd0\x91\xd0\xbe\xd1\x80\xd0\xb8\xd1\x81", false, false, false},  // Cyrillic, UTF-8
        {"\xd0\x91\xd0", true, false, false},  // cut: its 0x91 stands alone
        {"Jos\xe9", false, false, false},
        {"A\x1b]0;t\x07", true, true, true},
        {"A\x1b"
         "c",
         true, true, true},
        {std::string("A\0B", 3), true, true, true},
        {"del\x7f", true, true, true},
        {"\xc2\x9b"
         "2J",
         true, true, false},                // U+009B, CSI, in UTF-8
        {"\xc2\xa0", false, false, false},  // U+00A0 is a character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const int length = static_cast<int>(c.text.size());
        EXPECT_EQ(holdsControlCode(c.text.data(), length, kHighCodesAsBytes), c.asBytes);
        EXPECT_EQ(holdsControlCode(c.text.data(), length, kHighCodesAsUtf8), c.asUtf8);
        EXPECT_EQ(holdsControlCode(c.text.data(), length, kHighCodesAsCodePage), c.asCodePage);
    }
}

// The first of LC_ALL, LC_CTYPE and LANG that is set names the locale.
TEST(LocaleTakesUtf8, ByTheCharacterSetOfTheLocaleInForce) {
    // clang-format off
    const struct {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        bool utf8;
    } cases[] = {
        {nullptr, nullptr, nullptr, false},
        {nullptr, nullptr, "C.UTF-8", true},
        {nullptr, nullptr, "en_US.utf8", true},
        {nullptr, nullptr, "de_DE.UTF-8@euro", true},
        {nullptr, nullptr, "UTF-8", true},
        {nullptr, nullptr, "C", false},
        {nullptr, nullptr, "POSIX", false},
        {nullptr, nullptr, "de_DE.ISO-8859-1", false},
        {nullptr, nullptr, "de_DE@euro", false},
        {nullptr, nullptr, "en_US.UTF-16", false},
        {nullptr, nullptr, "en_US.utf", false},
        {"C", nullptr, "C.UTF-8", false},
        {"", "C.UTF-8", "C", true},
        {nullptr, "C", "C.UTF-8", false},
        {"C.UTF-8", "C", "C", true},
        {"", "", "", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " + (c.lcCtype ? c.lcCtype : "-") +
                     " " + (c.lang ? c.lang : "-"));
        EXPECT_EQ(localeTakesUtf8(c.lcAll, c.lcCtype, c.lang), c.utf8);
    }
}

}  // namespace

// Grouping only inserts commas, every third digit of the whole part from
// its end, and nothing into the sign or the decimals.
TEST(GroupDigits, CommasEveryThreeWholeDigits) {
    const struct {
        const char* plain;
        const char* grouped;
    } cases[] = {{"0", "0"},
                 {"999", "999"},
                 {"1000", "1,000"},
                 {"-100000", "-100,000"},
                 {"-10000000", "-10,000,000"},
                 {"1234567.123456", "1,234,567.123456"},
                 {"-0.001", "-0.001"},
                 {"9223372036854775807", "9,223,372,036,854,775,807"}};
    for (const auto& c : cases) {
        char out[40];
        const int length = groupDigits(c.plain, out, sizeof out);
        EXPECT_STREQ(out, c.grouped);
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.grouped)));
        std::string back(out);
        back.erase(std::remove(back.begin(), back.end(), ','), back.end());
        EXPECT_EQ(back, c.plain);
    }
    char cut[6];
    EXPECT_EQ(groupDigits("1234567", cut, sizeof cut), 5);
    EXPECT_STREQ(cut, "1,234");
}
