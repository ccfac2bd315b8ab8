#include <gtest/gtest.h>

#include <cmath>

#include "core/fixed_math.h"

using namespace tz;

TEST(TrigTables, TellingValues) {
    EXPECT_EQ(SinTab[-1], -25);
    EXPECT_EQ(SinTab[0], 0);
    EXPECT_EQ(SinTab[1], 25);
    EXPECT_EQ(SinTab[64], 1024);
    EXPECT_EQ(SinTab[128], 0);
    EXPECT_EQ(SinTab[192], -1024);
    EXPECT_EQ(CosTab[64], 0);
    EXPECT_EQ(CosTab[0], 1024);
    EXPECT_EQ(CosTab[-1], 1024);
    EXPECT_EQ(CosTab[128], -1024);
}

TEST(TrigTables, MatchRoundedSineEverywhere) {
    for (int d = -1; d <= 255; ++d) {
        const double a = d * M_PI / 128.0;
        EXPECT_EQ(SinTab[d], std::lround(std::sin(a) * 1024)) << d;
        EXPECT_EQ(CosTab[d], std::lround(std::cos(a) * 1024)) << d;
    }
}

TEST(TrigTables, AtanTabEnds) {
    const std::array<int, 6> head{-12, 12, 38, 63, 88, 113};
    for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(AtanTab[i], head[i]) << i;
    const std::array<int, 5> tail{9379, 12187, 17446, 31447, 32767};
    for (std::size_t i = 0; i < tail.size(); ++i) EXPECT_EQ(AtanTab[60 + i], tail[i]) << i;
    EXPECT_EQ(AtanTab[32], 999);
    EXPECT_EQ(AtanTab[33], 1050);
    for (std::size_t i = 1; i < AtanTab.size(); ++i) EXPECT_LT(AtanTab[i - 1], AtanTab[i]);
}

TEST(GetDirection, TellingVectors) {
    EXPECT_EQ(GetDirection(1, 0), 1);
    EXPECT_EQ(GetDirection(10, 10), 33);
    EXPECT_EQ(GetDirection(-1, 0), 127);
    EXPECT_EQ(GetDirection(-10, -10), 161);
    EXPECT_EQ(GetDirection(0, 1), 64);
    EXPECT_EQ(GetDirection(0, -1), 192);
    EXPECT_EQ(GetDirection(3, 4), 39);
    EXPECT_EQ(GetDirection(0, 0), 64);
}

TEST(GetDirection, LastBracketStartsAtFortyEight) {
    // A tangent of 2048 or more starts the search at entry 48 (2390), so slopes
    // between 2 and 2.33 all give 48.
    EXPECT_EQ(GetDirection(10, 20), 48);
    EXPECT_EQ(GetDirection(100, 230), 48);
    EXPECT_EQ(GetDirection(100, 199), 46);
}

TEST(GetDirection, SteeperThanTheTableEndsAtVertical) {
    // t = 40 * 1024 > 32767: the search runs to the last entry.
    EXPECT_EQ(GetDirection(1, 40), 64);
    EXPECT_EQ(GetDirection(1, -40), 192);
    EXPECT_EQ(GetDirection(-1, 40), 64);
    EXPECT_EQ(GetDirection(-1, -40), 192);
}

TEST(GetDirection, ProductWrapsIn32Bits) {
    // 16.16 differences of 100 and 33 pixels: DY * 1024 overflows and wraps.
    EXPECT_EQ(GetDirection(10 << 16, 10 << 16), 33);
    EXPECT_EQ(GetDirection(100 << 16, 100 << 16), 12);
    EXPECT_EQ(GetDirection(33 << 16, 33 << 16), 32);
}

TEST(GetDirection, AgreesWithAtan2WithinOneStepBelowTheLastBracket) {
    for (int dx = -60; dx <= 60; dx += 7)
        for (int dy = -60; dy <= 60; dy += 5) {
            if (dx == 0 || std::abs(dy) >= 2 * std::abs(dx)) continue;
            const double exact = std::atan2(dy, dx) * 128.0 / M_PI;
            const int got = GetDirection(dx, dy);
            double diff = std::fmod(got - exact + 512.0, 256.0);
            if (diff > 128) diff -= 256;
            EXPECT_LE(std::abs(diff), 1.5) << dx << "," << dy;
        }
}

TEST(Helpers, Clamp) {
    std::int32_t v = 619;
    EXPECT_FALSE(Clamp(20, v, 619));
    EXPECT_EQ(v, 619);
    v = 620;
    EXPECT_TRUE(Clamp(20, v, 619));
    EXPECT_EQ(v, 619);
    v = 19;
    EXPECT_TRUE(Clamp(20, v, 619));
    EXPECT_EQ(v, 20);
}

TEST(Helpers, Approach) {
    std::int32_t v = 10;
    Approach(v, 15, 5);  // exactly Step away: lands on the target
    EXPECT_EQ(v, 15);
    v = 10;
    Approach(v, 13, 5);
    EXPECT_EQ(v, 13);
    v = 10;
    Approach(v, 30, 5);
    EXPECT_EQ(v, 15);
    v = 10;
    Approach(v, -30, 5);
    EXPECT_EQ(v, 5);
    v = 10;
    Approach(v, 10, 0);  // already there, zero step: moves by 0
    EXPECT_EQ(v, 10);
}

TEST(Helpers, WrapRangeSignAndPairs) {
    EXPECT_EQ(WrapRange(-1, 256), 255);
    EXPECT_EQ(WrapRange(5, 0), 5);
    EXPECT_EQ(WrapRange(5, -3), 5);
    EXPECT_EQ(WrapRange(256, 256), 0);
    EXPECT_EQ(WrapRange(-513, 256), 255);
    EXPECT_EQ(Sign(-7), -1);
    EXPECT_EQ(Sign(0), 0);
    EXPECT_EQ(Sign(9), 1);
    TFixedPoint p;
    ToFixed(-3, 5, p);
    EXPECT_EQ(p, (TFixedPoint{-3 * 65536, 5 * 65536}));
    EXPECT_EQ(WholePart(p.x), -3);
    EXPECT_EQ(WholePart(-1), -1);  // a fraction below zero belongs to pixel -1
    SetPair(7, -8, p);
    EXPECT_EQ(p, (TFixedPoint{7, -8}));
    EXPECT_EQ(WithWholePart(0x00051234, -2), static_cast<std::int32_t>(0xFFFE1234u));
}

TEST(Helpers, DistanceAndCircle) {
    EXPECT_EQ(GetDistance(3, 4), 5);
    EXPECT_EQ(GetDistance(-1, 1), 1);
    EXPECT_EQ(GetDistance(46339, 0), 46339);
    EXPECT_EQ(GetDistance(60000, 80000), 100000);  // beyond the 32-bit range, still exact
    EXPECT_TRUE(InCircle(3, 4, 6));
    EXPECT_FALSE(InCircle(3, 4, 5));  // touching is not inside
    EXPECT_FALSE(InCircle(50000, 0, 40000));
}
