// The formatted reads on byte strings: what they take and what they leave.
#include <gtest/gtest.h>

#include <cstring>

#include "input/field_scan.h"
#include "stream_of.h"

namespace {

struct IntCase {
    const char* input;
    ScanStatus status;
    int32_t value;     // when the status is kScanOk, or the nearest one with kScanOutOfRange
    const char* rest;  // what the next read sees
};

TEST(ScanInt, TakesSignAndDigitsAndLeavesTheRest) {
    const IntCase cases[] = {
        {"42", kScanOk, 42, ""},
        {"  \t\n\n  -17 tail\n", kScanOk, -17, " tail\n"},
        {"+8x", kScanOk, 8, "x"},
        {"3 3\n", kScanOk, 3, " 3\n"},
        {"007", kScanOk, 7, ""},
        {"12-3", kScanOk, 12, "-3"},
        {"2147483647\n", kScanOk, 2147483647, "\n"},
        {"-2147483648\n", kScanOk, INT32_MIN, "\n"},
        // Nothing readable: the offending byte stays, a sign before it is taken.
        {"abc\n", kScanUnreadable, 0, "abc\n"},
        {"  x", kScanUnreadable, 0, "x"},
        {"-x\n", kScanUnreadable, 0, "x\n"},
        {"+ 5", kScanUnreadable, 0, " 5"},
        {"--5", kScanUnreadable, 0, "-5"},
        // Beyond 32 bits: every digit is taken, nothing wraps, the sign is kept.
        {"2147483648 1", kScanOutOfRange, INT32_MAX, " 1"},
        {"-2147483649", kScanOutOfRange, INT32_MIN, ""},
        {"99999999999999999999999999999999999999 7", kScanOutOfRange, INT32_MAX, " 7"},
        {"4294967296", kScanOutOfRange, INT32_MAX, ""},
        // The input ends before a field.
        {"", kScanEnd, 0, ""},
        {" \n\t\n", kScanEnd, 0, ""},
        // A sign and then the end: characters were matched, then the field failed.
        {"-", kScanUnreadable, 0, ""},
        {" +", kScanUnreadable, 0, ""},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\"");
        StringStream* in = streamOf(c.input);
        ASSERT_NE(in, nullptr);
        int32_t value = -99;
        EXPECT_EQ(scanInt(in, &value), c.status);
        const bool written = c.status == kScanOk || c.status == kScanOutOfRange;
        EXPECT_EQ(value, written ? c.value : -99) << "target written on failure";
        EXPECT_EQ(restOf(in), c.rest);
        delete in;
    }
}

TEST(ScanInt, NulAndHighBytesAreUnreadable) {
    for (const std::string& input : {std::string("\0"
                                                 "12\n",
                                                 4),
                                     std::string("\xff"
                                                 "1"),
                                     std::string("\x80")}) {
        StringStream* in = streamOf(input);
        int32_t value = 5;
        EXPECT_EQ(scanInt(in, &value), kScanUnreadable);
        EXPECT_EQ(value, 5);
        EXPECT_EQ(restOf(in), input);
        delete in;
    }
}

TEST(ScanInt, AMegabyteOfDigitsIsOneNumberOutOfRange) {
    StringStream* in = streamOf(std::string(1 << 20, '9') + "\n5\n");
    int32_t value = 0;
    EXPECT_EQ(scanInt(in, &value), kScanOutOfRange);
    dropLine(in);
    EXPECT_EQ(scanInt(in, &value), kScanOk);
    EXPECT_EQ(value, 5);
    delete in;
}

// A number that runs on into anything but white space is not an answer;
// what follows it stays for the refusal to drop.
TEST(ScanWholeNumber, ANumberRunningOnIsUnreadable) {
    const IntCase cases[] = {
        {"7\n", kScanOk, 7, "\n"},
        {" -3\t4", kScanOk, -3, "\t4"},
        {"5", kScanOk, 5, ""},
        {"2.7\n", kScanUnreadable, 0, ".7\n"},
        {"3x 1", kScanUnreadable, 0, "x 1"},
        {"1,5", kScanUnreadable, 0, ",5"},
        {"12-3", kScanUnreadable, 0, "-3"},
        {"99999999999a", kScanUnreadable, 0, "a"},
        {"99999999999 a", kScanOutOfRange, INT32_MAX, " a"},
        {"x", kScanUnreadable, 0, "x"},
        {" ", kScanEnd, 0, ""},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\"");
        StringStream* in = streamOf(c.input);
        int32_t value = -99;
        EXPECT_EQ(scanWholeNumber(in, &value), c.status);
        if (c.status == kScanOk || c.status == kScanOutOfRange) {
            EXPECT_EQ(value, c.value);
        }
        EXPECT_EQ(restOf(in), c.rest);
        delete in;
    }
}

TEST(ScanWord, TakesOneWordAtATime) {
    StringStream* in = streamOf("\n\n   Alice Bob\nCarol\n");
    char name[12] = "";
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_STREQ(name, "Alice");
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_STREQ(name, "Bob");
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_STREQ(name, "Carol");
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanEnd);
    delete in;
}

TEST(ScanWord, ElevenCharactersFitTwelveDoNot) {
    char name[12];
    memset(name, '#', sizeof name);
    StringStream* in = streamOf("abcdefghijk abcdefghijkl rest\n");
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_STREQ(name, "abcdefghijk");

    // The long word is taken whole, nothing is written past the room.
    char guarded[16];
    memset(guarded, '#', sizeof guarded);
    EXPECT_EQ(scanWord(in, guarded, 12), kScanOutOfRange);
    EXPECT_EQ(guarded[11], '\0');
    EXPECT_EQ(guarded[12], '#');
    EXPECT_EQ(restOf(in), " rest\n");
    delete in;
}

TEST(ScanWord, AMegabyteWordAndBinaryBytes) {
    char name[12];
    StringStream* in =
        streamOf(std::string(1 << 20, 'x') + " ok " + std::string("a\0b\xe9", 4) + "\n");
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOutOfRange);
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_STREQ(name, "ok");
    // NUL and bytes above 127 are word characters like any other.
    EXPECT_EQ(scanWord(in, name, sizeof name), kScanOk);
    EXPECT_EQ(memcmp(name, "a\0b\xe9", 5), 0);
    delete in;
}

TEST(ScanHelpers, NonBlankAndDropLine) {
    StringStream* in = streamOf("  \n Y rest of line\nnext");
    EXPECT_EQ(scanNonBlank(in), 'Y');
    dropLine(in);
    EXPECT_EQ(restOf(in), "next");
    delete in;

    in = streamOf(" \n ");
    EXPECT_EQ(scanNonBlank(in), EOF);
    dropLine(in);  // at the end: returns, does not wait
    delete in;
}

}  // namespace
