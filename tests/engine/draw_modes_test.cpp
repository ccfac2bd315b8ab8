#include <gtest/gtest.h>

#include "engine/blit.h"
#include "engine/draw_modes.h"

namespace {

using engine::Surface;
using engine::TRect;

TEST(DrawFlash, WritesWholeFourPixelGroupsThatDifferFromTheKeyGroup) {
    Surface bank(32, 8);  // key 0 everywhere, top-left group all key
    bank.row(2)[9] = 7;   // one opaque pixel in group 8..11 of row 2
    bank.row(3)[12] = 7;  // and one in group 12..15 of row 3
    Surface dst(32, 16);
    engine::fillRect(dst, TRect{0, 0, 32, 16}, 50);
    // Source 9..13 x 2..4 (rounded down to byte 8); destination x 6 rounds down to 4.
    engine::drawFlash(dst, 6, 5, bank, TRect{9, 2, 13, 4});
    for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(dst.row(5)[x], (x >= 4 && x < 8) ? 255 : 50) << x;    // group 8..11 of row 2
        EXPECT_EQ(dst.row(6)[x], (x >= 8 && x < 12) ? 255 : 50) << x;   // group 12..15 of row 3
        EXPECT_EQ(dst.row(7)[x], 50) << x;                              // row 4: one row more, all key
        EXPECT_EQ(dst.row(8)[x], 50) << x;                              // past the extra row
    }
}

TEST(DrawFlash, GroupsOutsideTheDestinationAreSkipped) {
    Surface bank(16, 4);
    engine::fillRect(bank, TRect{4, 0, 16, 4}, 3);
    Surface dst(10, 3);
    engine::drawFlash(dst, 6, 1, bank, TRect{4, 0, 16, 4});  // groups at 4, 8 (cut), 12, 16
    EXPECT_EQ(dst.row(1)[4], 255);
    EXPECT_EQ(dst.row(1)[7], 255);
    EXPECT_EQ(dst.row(1)[8], 0);  // the group at 8..11 would cross the right edge
    EXPECT_EQ(dst.row(0)[4], 0);
}

TEST(DrawTableMix, CoversOneRowAndColumnMoreAndSkipsTheKey) {
    Surface bank(40, 40);
    engine::fillRect(bank, TRect{1, 1, 40, 40}, 4);  // pixel (0, 0) stays the key 0
    bank.row(5)[5] = 0;                              // a key pixel inside the pattern
    Surface dst(40, 40);
    engine::fillRect(dst, TRect{0, 0, 40, 40}, 10);
    engine::MixTable table{};
    table[10 * 256 + 4] = 77;
    engine::drawTableMix(dst, 3, 3, bank, TRect{2, 2, 18, 18}, table);
    int mixed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) mixed += dst.row(y)[x] == 77;
    EXPECT_EQ(mixed, 17 * 17 - 1);
    EXPECT_EQ(dst.row(3)[3], 77);
    EXPECT_EQ(dst.row(19)[19], 77);   // the extra row and column
    EXPECT_EQ(dst.row(20)[19], 10);
    EXPECT_EQ(dst.row(6)[6], 10);     // source (5, 5) is the key
    // At the surface edges nothing is read or written out of range.
    engine::drawTableMix(dst, 30, 30, bank, TRect{30, 30, 40, 40}, table);
    EXPECT_EQ(dst.row(39)[39], 77);
}

TEST(Fade, LevelsAreClampedAndZeroRestoresTheStoredPalette) {
    plat::Palette pal{};
    pal[1] = {0, 100, 255};
    pal[2] = {200, 50, 3};
    for (int level : {-5, 0}) {
        EXPECT_EQ(engine::fadePalette(pal, level, true)[2].r, 200);
        EXPECT_EQ(engine::fadePalette(pal, level, false)[1].g, 100);
    }
    for (int level : {256, 300}) {
        const auto w = engine::fadePalette(pal, level, true);
        const auto b = engine::fadePalette(pal, level, false);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(w[static_cast<std::size_t>(i)].r, 255);
            EXPECT_EQ(w[static_cast<std::size_t>(i)].b, 255);
            EXPECT_EQ(b[static_cast<std::size_t>(i)].g, 0);
        }
    }
    const auto half = engine::fadePalette(pal, 128, true);
    EXPECT_EQ(half[1].g, (155 * 128 + 100 * 256) >> 8);
    EXPECT_EQ(engine::fadePalette(pal, 128, false)[2].r, 100);
}

TEST(FillRect, IsClippedToTheSurface) {
    Surface s(8, 4);
    engine::fillRect(s, TRect{-5, 2, 100, 100}, 9);
    EXPECT_EQ(s.row(1)[0], 0);
    EXPECT_EQ(s.row(2)[0], 9);
    EXPECT_EQ(s.row(3)[7], 9);
    engine::fillRect(s, TRect{5, 1, 2, 3}, 1);  // empty
    EXPECT_EQ(s.row(1)[3], 0);
}

}  // namespace
