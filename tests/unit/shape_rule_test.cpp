#include "watcher/shape_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A window of the given size placed away from the origin, as the rule sees it.
bool SizeMatches(int32_t width, int32_t height)
{
    const Rect rect{37, 41, 37 + width, 41 + height};
    return MatchesPromptShape(MeasureRect(rect).ratio);
}

TEST(ShapeRule, RecognisesThePromptBySize)
{
    const struct {
        int32_t width, height;
        bool matches;
    } cases[] = {
        {300, 322, true},
        {276, 300, false},                     // exactly 0.92
        {277, 300, true},
        {281, 300, true},
        {282, 300, false},                     // exactly 0.94
        {92, 100, false},
        {46, 50, false},
        {47, 50, false},
        {920000103, 1000000000, false},        // stored as 0.92000007629394531
        {939999905, 1000000000, true},
        {284, 300, false},
        {284, 141, false},
        {100, 0, false},                       // +inf
        {0, 0, false},                         // NaN
        {0, 300, false},
        {300, -322, false},
        {-300, 322, false},
        {-300, -322, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeMatches(c.width, c.height), c.matches) << c.width << " x " << c.height;
    }
}

TEST(ShapeRule, RatioIsStoredAsFloat)
{
    const Measurement m = MeasureRect({100, 200, 400, 522});
    EXPECT_EQ(m.width, 300);
    EXPECT_EQ(m.height, 322);
    EXPECT_EQ(m.ratio, static_cast<float>(300.0 / 322.0));
    EXPECT_NEAR(m.ratio, 0.93167704, 1e-7);
}

TEST(ShapeRule, BandEdgesFallOnTheseFloats)
{
    const float lowest = 0.920000135898590087890625f;
    const float highest = 0.939999878406524658203125f;
    ASSERT_EQ(static_cast<double>(lowest), 0.920000135898590087890625);
    ASSERT_EQ(static_cast<double>(highest), 0.939999878406524658203125);
    EXPECT_TRUE(MatchesPromptShape(lowest));
    EXPECT_FALSE(MatchesPromptShape(std::nextafter(lowest, 0.0f)));
    EXPECT_TRUE(MatchesPromptShape(highest));
    EXPECT_FALSE(MatchesPromptShape(std::nextafter(highest, 2.0f)));
}

TEST(ShapeRule, NonFiniteRatiosNeverMatch)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(MatchesPromptShape(inf));
    EXPECT_FALSE(MatchesPromptShape(-inf));
    EXPECT_FALSE(MatchesPromptShape(std::numeric_limits<float>::quiet_NaN()));
}

TEST(ShapeRule, AgreesWithIntegerBandForEveryWindowSize)
{
    // For heights up to 2000 the nearest ratio to either edge is 1/(100 h) away, far more
    // than the margin and float rounding, so the rule is exactly 0.92 < w/h < 0.94. Widths
    // from 0.9 h to 0.96 h cover the band and both sides of it.
    for (int64_t h = 1; h <= 2000; ++h) {
        for (int64_t w = h * 90 / 100; w <= h * 96 / 100 + 1; ++w) {
            const bool expected = 92 * h < 100 * w && 100 * w < 94 * h;
            ASSERT_EQ(SizeMatches(static_cast<int32_t>(w), static_cast<int32_t>(h)), expected)
                << w << " x " << h;
        }
    }
}

TEST(MeasureRect, DifferencesWrapToLow32Bits)
{
    const struct {
        Rect rect;
        int32_t width, height;
    } cases[] = {
        {{100, 200, 400, 522}, 300, 322},
        {{400, 522, 100, 200}, -300, -322},
        {{INT32_MIN, 0, INT32_MAX, 0}, -1, 0},
        {{INT32_MAX, 0, INT32_MIN, 0}, 1, 0},
        {{INT32_MIN, INT32_MIN, 0, -1}, INT32_MIN, INT32_MAX},
    };
    for (const auto& c : cases) {
        const Measurement m = MeasureRect(c.rect);
        EXPECT_EQ(m.width, c.width);
        EXPECT_EQ(m.height, c.height);
    }
}

TEST(MeasureRect, ZeroHeightGivesNonFiniteRatio)
{
    const Measurement wide = MeasureRect({0, 10, 5, 10});
    EXPECT_TRUE(std::isinf(wide.ratio));
    EXPECT_GT(wide.ratio, 0.0f);
    EXPECT_TRUE(std::isnan(MeasureRect({3, 3, 3, 3}).ratio));
}

TEST(SignInPoint, DropsBelowCentreByAThirdOfHeight)
{
    const struct {
        Rect rect;
        Point expected;
    } cases[] = {
        {{100, 200, 400, 522}, {250, 470}},
        {{-1000, -500, -700, -178}, {-850, -229}},   // -229.52 cuts toward zero
        {{100, 200, 401, 522}, {250, 470}},          // 250.5 cuts down
    };
    for (const auto& c : cases) {
        const Point p = SignInPoint(c.rect, MeasureRect(c.rect).height);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

}  // namespace
