#include <gtest/gtest.h>

#include <array>

#include "engine/sp4_format.h"

namespace {

TEST(Sp4Format, RecordRoundTripsAtTheDocumentedOffsets) {
    engine::sp4::PatternFields f;
    f.bank = 3;
    f.source = {10, 20, -30, 40};
    f.originX = -5;
    f.originY = 7;
    f.anchorX = 300;
    f.anchorY = -300;
    f.hitLast = 1;
    f.hits[0] = {4, -2, 3};
    f.hits[1] = {12, 0, -8};
    f.rotLast = 31;
    std::array<std::uint8_t, engine::sp4::kRecordSize> bytes{};
    engine::sp4::encodeRecord(f, bytes.data());
    EXPECT_EQ(bytes[18], 3);
    EXPECT_EQ(bytes[20], 10);
    EXPECT_EQ(bytes[28], 0xE2);  // -30 little-endian
    EXPECT_EQ(bytes[31], 0xFF);
    EXPECT_EQ(bytes[44], 1);
    EXPECT_EQ(bytes[46], 4);
    EXPECT_EQ(bytes[71], 31);
    for (int i = 72; i < 100; ++i) EXPECT_EQ(bytes[static_cast<std::size_t>(i)], 0) << i;
    auto g = engine::sp4::decodeRecord(bytes.data());
    EXPECT_EQ(g.source.right, -30);
    EXPECT_EQ(g.anchorY, -300);
    EXPECT_EQ(g.hits[1].y, -8);
    EXPECT_EQ(g.hitLast, 1);
    EXPECT_EQ(g.rotLast, 31);
}

TEST(Sp4Format, HeaderIsSixBytesWithSignedLast) {
    std::array<std::uint8_t, 6> bytes{};
    engine::sp4::encodeHeader({1, 0, -1}, bytes.data());
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[5], 0xFF);
    EXPECT_EQ(engine::sp4::decodeHeader(bytes.data()).last, -1);
}

}  // namespace
