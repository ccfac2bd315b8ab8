#include <gtest/gtest.h>

#include "core/random.h"
#include "game/tz_globals.h"

using namespace tz;

TEST(Random, SequenceFromZero) {
    RandSeed = 0;
    EXPECT_EQ(Random(10000), 0);  // the new seed is 1: high half of 1 * 10000
    EXPECT_EQ(RandSeed, 1u);
    EXPECT_EQ(Random(10000), static_cast<std::int32_t>((134775814ull * 10000) >> 32));
    EXPECT_EQ(RandSeed, 134775814u);
    const std::uint32_t third = 134775814u * 134775813u + 1u;
    EXPECT_DOUBLE_EQ(Random(), third / 4294967296.0);
}

TEST(Random, SeedWrapsAndRangesHold) {
    RandSeed = 0xFFFFFFFFu;
    (void)Random(5);
    EXPECT_EQ(RandSeed, 0xFFFFFFFFu * 134775813u + 1u);
    RandSeed = 12345;
    for (int i = 0; i < 10000; ++i) {
        const auto r = Random(7);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 7);
        const double x = Random();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
    }
    EXPECT_EQ(Random(0), 0);
}

TEST(Random, DrawingGeneratorIsSeparate) {
    RandSeed = 77;
    TRandom copy{77};
    DrawRandom.seed = 5;
    for (int i = 0; i < 10; ++i) (void)DrawRandom.Random(256);
    EXPECT_EQ(RandSeed, 77u);
    EXPECT_EQ(Random(1000), copy.Random(1000));
    EXPECT_EQ(&RandSeed, &GameRandom.seed);
}
