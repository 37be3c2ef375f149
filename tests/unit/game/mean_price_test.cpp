// The mean price and its whole-number form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/game_record.h"
#include "game/mean_price.h"

namespace {

TEST(RoundedPrice, ThresholdAndTruncation) {
    // clang-format off
    const struct {
        float price;
        int32_t rounded;
    } cases[] = {
        {2.44f, 2},  {2.45f, 3},   {2.5f, 3},   {3.0f, 3},   {0.0f, 0},
        {-0.5f, 0},  {-1.5f, -1},  {-2.7f, -2}, {0.4f, 0},   {0.45f, 1},
        {99.99f, 100},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(roundedPrice(c.price), c.rounded) << c.price;

    // The exact value of the float decides: the float nearest to 2.4444444
    // lies above it, the next one below lies below it.
    const float nearest = 2.4444444f;
    ASSERT_GT(static_cast<double>(nearest), 2.4444444);
    EXPECT_EQ(roundedPrice(nearest), 3);
    const float below = std::nextafter(nearest, 0.0f);
    ASSERT_LT(static_cast<double>(below), 2.4444444);
    EXPECT_EQ(roundedPrice(below), 2);
}

void loadEstimates(std::initializer_list<float> estimates, int32_t shift) {
    memset(&game, 0, sizeof game);
    int k = 0;
    for (float v : estimates) {
        game.estimateSum += v;
        ++k;
    }
    game.iterationCount = k;
    game.negativeShift = shift;
}

TEST(MeanPrice, AveragesInDoubleAndStoresAsFloat) {
    const float third = static_cast<float>(
        (static_cast<double>(static_cast<float>(7.0 / 3)) + static_cast<float>(10.0 / 3)) * 0.5);
    loadEstimates({2.5f, 3.75f, third, 3.125f}, 0);
    const double sum = 2.5 + 3.75 + static_cast<double>(third) + 3.125;
    EXPECT_EQ(meanPrice(), static_cast<float>(sum / 4));
    EXPECT_EQ(roundedPrice(meanPrice()), 3);
}

TEST(MeanPrice, ShiftedBackByTheNormalisation) {
    loadEstimates({3.5f, 3.5f}, 4);
    EXPECT_EQ(meanPrice(), -0.5f);
    EXPECT_EQ(roundedPrice(meanPrice()), 0);

    loadEstimates({1.0f}, 0);
    EXPECT_EQ(meanPrice(), 1.0f);
    // One single-precision rounding after the division, one after the shift.
    loadEstimates({0.1f, 0.2f, 0.4f}, 3);
    const float average = static_cast<float>((double{0.1f} + 0.2f + 0.4f) / 3);
    EXPECT_EQ(meanPrice(), static_cast<float>(static_cast<double>(average) - 3));
}

}  // namespace
