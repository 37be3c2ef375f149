// The words of Gambit's files: the tokens and their lines, the numbers
// read exactly, and the three words that make a file a Gambit file.
#include <string>

#include <gtest/gtest.h>

#include "formats/nfg_tokens.h"

namespace {

// Each token as kind:text@line, one after another.
std::string tokensOf(const std::string& text) {
    Scanner s = startScanner(text.data(), static_cast<int>(text.size()));
    std::string out;
    for (;;) {
        const Token t = scanToken(&s);
        out += std::to_string(t.kind) + ":" + std::string(t.text, t.length) + "@" +
               std::to_string(t.line) + " ";
        if (t.kind == kTokenEnd || t.kind == kTokenOpenString) return out;
    }
}

TEST(NfgTokens, KindsTextsAndLines) {
    // clang-format off
    const struct {
        std::string text;
        std::string tokens;
    } cases[] = {
        {"NFG 1 R", "7:NFG@1 6:1@1 7:R@1 0:@1 "},
        {"\xEF\xBB\xBFNFG", "7:NFG@1 0:@1 "},           // the byte-order mark is passed over
        {"{\"a b\"}\n,-3/2", "1:{@1 4:a b@1 2:}@1 3:,@2 6:-3/2@2 0:@2 "},
        {"\"two\nlines\" x", "4:two\nlines@1 7:x@2 0:@2 "},
        {"\"say \\\"hi\\\"\"", "4:say \\\"hi\\\"@1 0:@1 "},
        {"- -. +x .5 x1", "7:-@1 6:-.@1 7:+x@1 6:.5@1 7:x1@1 0:@1 "},
        {"\"open\n", "5:open\n@1 "},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(tokensOf(c.text), c.tokens);
    }
}

// Each number read is checked against its value as a fraction: the
// fraction formatted reads back to the same value.
TEST(NfgTokens, NumbersAreReadExactly) {
    // clang-format off
    const struct {
        const char* text;
        NumberStatus status;
        const char* value;
    } cases[] = {
        {"3", kNumberRead, "3"},           {"-1.000000", kNumberRead, "-1"},
        {"2.5e-1", kNumberRead, "1/4"},    {"-6/4", kNumberRead, "-3/2"},
        {"+0.0", kNumberRead, "0"},        {"1e15", kNumberRead, "1000000000000000"},
        {"1.000000000000000000000", kNumberRead, "1"},
        {"1e16", kNumberTooLarge, ""},     {"1/1000000001", kNumberTooLarge, ""},
        {"1.2.3", kNotANumber, ""},        {"1/0", kNotANumber, ""},
        {"3/", kNotANumber, ""},           {"/3", kNotANumber, ""},
        {"2e", kNotANumber, ""},           {".", kNotANumber, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Token t = {kTokenNumber, c.text, static_cast<int>(std::string(c.text).size()), 1};
        Rational value = {0, 0};
        EXPECT_EQ(readNumber(&t, &value), c.status);
        if (c.status != kNumberRead) continue;
        char shown[48];
        formatRational(value, shown);
        EXPECT_EQ(std::string(shown), c.value);
        EXPECT_EQ(greatestCommonDivisor(value.numerator < 0 ? -value.numerator : value.numerator,
                                        value.denominator),
                  value.numerator == 0 ? value.denominator : 1);
    }
}

// The three words decide, whatever comes before them and however few of
// the bytes have come; every beginning of a Gambit file is undecided
// until the input ends.
TEST(NfgTokens, ThreeWordsMakeAGambitFile) {
    // clang-format off
    const struct {
        std::string text;
        NfgStart whenEnded;
    } cases[] = {
        {"NFG 1 R \"t\"", kNfgFile},
        {"NFG 1 D", kNfgFile},
        {" \r\nNFG\n1\tR{", kNfgFile},
        {"\xEF\xBB\xBFNFG 1 R", kNfgFile},
        {std::string(4093, ' ') + "NFG 1 R", kNfgFile},
        {"NFG Bob\n2 2\n1 2\n3 4\n", kNotNfgFile},   // player 1 named NFG
        {"NFG 1 Rx", kNotNfgFile},
        {"NFG 12 R", kNotNfgFile},
        {"NFG", kNotNfgFile},
        {"NFGame Bob", kNotNfgFile},
        {"Alice NFG 1 R", kNotNfgFile},
        {"nfg 1 R", kNotNfgFile},
        {"\"NFG\" 1 R", kNotNfgFile},
        {"\xEF\xBB NFG 1 R", kNotNfgFile},
        {"", kNotNfgFile},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const int length = static_cast<int>(c.text.size());
        EXPECT_EQ(nfgStartOf(c.text.data(), length, true), c.whenEnded);
        if (c.whenEnded == kNfgFile) {
            const std::string more = c.text + " ";
            EXPECT_EQ(nfgStartOf(more.data(), length + 1, false), kNfgFile);
        }
        // Cut anywhere, the bytes so far say no more than the whole: a
        // Gambit file is undecided or one, answers undecided or not one.
        const std::string whole = c.text + (c.whenEnded == kNfgFile ? "" : "\n");
        for (int cut = 0; cut < static_cast<int>(whole.size()); ++cut) {
            const NfgStart start = nfgStartOf(whole.data(), cut, false);
            EXPECT_TRUE(start == kNfgUndecided || start == c.whenEnded) << "cut at " << cut;
        }
    }
}

}  // namespace
