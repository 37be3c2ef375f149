// The ways a course writes lines and lists of strategies.
#include <gtest/gtest.h>

#include <string>

#include "text/line_equation.h"
#include "text/strategy_list.h"

namespace {

TEST(LineEquation, AsWrittenByHand) {
    const struct {
        int32_t atZero;
        int32_t atOne;
        const char* text;
    } cases[] = {
        {6, 2, "6 - 4p"},
        {1, 5, "1 + 4p"},
        {3, 3, "3"},
        {0, 1, "0 + p"},
        {2, 1, "2 - p"},
        {-4, -4, "-4"},
        {-10000000, 10000000, "-10000000 + 20000000p"},
        {10000000, -10000000, "10000000 - 20000000p"},
    };
    for (const auto& c : cases) {
        char text[64];
        const int length = formatLineEquation(c.atZero, c.atOne, "p", text, sizeof text);
        EXPECT_EQ(std::string(text), c.text);
        EXPECT_EQ(length, static_cast<int>(std::string(c.text).size()));
    }
    char cut[5];
    EXPECT_EQ(std::string(cut, formatLineEquation(6, 2, "q", cut, sizeof cut)), "6 - ");
}

TEST(StrategyList, OneTwoOrMany) {
    const struct {
        bool marked[10];
        int32_t count;
        const char* text;
    } cases[] = {
        {{false, false, true}, 3, "strategy 3"},
        {{true, true}, 2, "strategies 1 and 2"},
        {{true, true, false, true}, 4, "strategies 1, 2 and 4"},
        {{true, true, true, true, true, true, true, true, true, true},
         10,
         "strategies 1, 2, 3, 4, 5, 6, 7, 8, 9 and 10"},
    };
    for (const auto& c : cases) {
        char text[64];
        formatStrategyList(c.marked, c.count, text, sizeof text);
        EXPECT_EQ(std::string(text), c.text);
    }
}

}  // namespace
