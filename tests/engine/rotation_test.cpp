#include <gtest/gtest.h>

#include "engine/draw_modes.h"
#include "engine/rotation.h"

namespace {

using engine::TPatternRec;
using engine::TRect;

TPatternRec pattern(int w, int h, int ox, int oy, int rotLast = 0) {
    TPatternRec p;
    p.source = {0, 0, w, h};
    p.originX = static_cast<std::int16_t>(ox);
    p.originY = static_cast<std::int16_t>(oy);
    p.rotLast = static_cast<std::uint8_t>(rotLast);
    return p;
}

TEST(RotatePoint, RoundsHalvesUpOnlyForPositiveValues) {
    EXPECT_EQ(engine::RotatePoint(1, 0, 64), (engine::TPoint{0, 1}));
    EXPECT_EQ(engine::RotatePoint(10, 0, 128), (engine::TPoint{-9, 0}));  // -9.5 truncated toward zero
    EXPECT_EQ(engine::RotatePoint(10, 0, 0), (engine::TPoint{10, 0}));
    EXPECT_EQ(engine::RotatePoint(0, 10, 64), (engine::TPoint{-9, 0}));
    EXPECT_EQ(engine::RotatePoint(-16, -8, 0), (engine::TPoint{-15, -7}));
}

TEST(RotateBounds, PatternBoxAtZeroAndQuarterTurn) {
    const TPatternRec p = pattern(32, 16, 16, 8);
    EXPECT_EQ(engine::rotatedPatternBox(p, 0), (TRect{-15, -7, 17, 9}));
    EXPECT_EQ(engine::rotatedPatternBox(p, 64), (TRect{-7, -15, 9, 17}));
    // A pivot moves the box and back again.
    TRect r{};
    ASSERT_TRUE(engine::RotateBounds(TRect{84, 92, 116, 108}, engine::TPoint{100, 100}, 64, r));
    EXPECT_EQ(r, (TRect{93, 85, 109, 117}));
    // An angle outside 0..255 leaves the result as it was.
    TRect keep{1, 2, 3, 4};
    EXPECT_FALSE(engine::RotateBounds(TRect{0, 0, 5, 5}, engine::TPoint{}, 256, keep));
    EXPECT_FALSE(engine::RotateBounds(TRect{0, 0, 5, 5}, engine::TPoint{}, -1, keep));
    EXPECT_EQ(keep, (TRect{1, 2, 3, 4}));
}

TEST(RotationFrames, FrameChoiceRoundsHalvesToEvenAndWraps) {
    EXPECT_EQ(engine::rotationFrameIndex(16, 7), 0);   // 0.5 -> 0
    EXPECT_EQ(engine::rotationFrameIndex(17, 7), 1);
    EXPECT_EQ(engine::rotationFrameIndex(48, 7), 2);   // 1.5 -> 2
    EXPECT_EQ(engine::rotationFrameIndex(240, 7), 0);  // 7.5 -> 8 -> wraps to 0
    EXPECT_EQ(engine::rotationFrameIndex(255, 7), 0);
    EXPECT_EQ(engine::rotationFrameAngle(3, 7), 96);
    EXPECT_EQ(engine::rotationFrameAngle(1, 2), 85);   // 85.33
    EXPECT_EQ(engine::rotationFrameAngle(2, 2), 171);  // 170.67
}

TEST(RotationFrames, SheetRowsBreakBeforeAFrameThatDoesNotFit) {
    TPatternRec p = pattern(100, 20, 50, 10, 3);  // frames at 0, 64, 128, 192
    p.anchorX = 10;
    engine::TRotationCache cache;
    const int h = engine::layoutRotationFrames(p, cache, 250);
    ASSERT_EQ(cache.frames.size(), 4u);
    // 100 wide, then 20 wide (rotated), then 100 wide would reach 220 < 250, then 20 more = 240.
    EXPECT_EQ(cache.frames[0].bounds, (TRect{0, 0, 100, 20}));
    EXPECT_EQ(cache.frames[1].bounds, (TRect{100, 0, 120, 100}));
    EXPECT_EQ(cache.frames[2].bounds, (TRect{120, 0, 220, 20}));
    // x + w = 240 < 250 still fits.
    EXPECT_EQ(cache.frames[3].bounds.left, 220);
    EXPECT_EQ(h, 100);
    EXPECT_EQ(cache.frames[1].anchorX, 0);
    EXPECT_EQ(cache.frames[1].anchorY, 10);
    // On a narrower sheet the third frame starts a new row below the tallest of the first.
    const int h2 = engine::layoutRotationFrames(p, cache, 200);
    EXPECT_EQ(cache.frames[2].bounds, (TRect{0, 100, 100, 120}));
    EXPECT_EQ(cache.frames[3].bounds, (TRect{100, 100, 120, 200}));
    EXPECT_EQ(h2, 200);
    EXPECT_EQ(cache.frames[0].originX, 49);  // -box.left of the 0 angle box (-49, -9, ...)
    // A sheet narrower than a frame: that frame's cell ends at the sheet's edge, where
    // drawing into the sheet stops too, and the next frame still starts a row of its own.
    const int h3 = engine::layoutRotationFrames(p, cache, 80);
    EXPECT_EQ(cache.frames[0].bounds, (TRect{0, 0, 80, 20}));
    EXPECT_EQ(cache.frames[1].bounds, (TRect{0, 20, 20, 120}));
    EXPECT_EQ(cache.frames[2].bounds, (TRect{0, 120, 80, 140}));
    EXPECT_EQ(cache.frames[0].originX, 49);
    EXPECT_EQ(h3, 240);
    for (const engine::TRotationFrame& f : cache.frames) EXPECT_LE(f.bounds.right, 80);
}

// A 4x2 pattern with distinct pixels, key 0, rotated a quarter turn about its top-left pixel.
TEST(RotateCopy, QuarterTurnPlacesPixelsAndSkipsTheKey) {
    engine::Surface bank(8, 4);
    const std::uint8_t px[2][4] = {{1, 2, 3, 0}, {5, 6, 7, 8}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) bank.row(1 + y)[2 + x] = px[y][x];
    TPatternRec p;
    p.source = {2, 1, 6, 3};
    engine::Surface dst(16, 16);
    engine::fillRect(dst, TRect{0, 0, 16, 16}, 9);
    engine::TSpriteRec s;
    s.setPos(8, 4);
    s.rotation = 64;
    engine::rotateCopy(dst, TRect{0, 0, 16, 16}, bank, 0, p, s, 1024);
    // Source (u, v) lands at (-v, u) relative to the hot spot.
    for (int v = 0; v < 2; ++v) {
        for (int u = 0; u < 4; ++u) {
            const int expect = px[v][u] == 0 ? 9 : px[v][u];
            EXPECT_EQ(dst.row(4 + u)[8 - v], expect) << u << "," << v;
        }
    }
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) changed += dst.row(y)[x] != 9;
    EXPECT_EQ(changed, 7);
}

TEST(RotateCopy, StaysInsideTheClipRectangleAndTheSurface) {
    engine::Surface bank(32, 32);
    engine::fillRect(bank, TRect{0, 0, 32, 32}, 3);
    bank.row(0)[0] = 0;  // keep one key pixel away from the pattern
    TPatternRec p = pattern(16, 16, 8, 8);
    p.source = {8, 8, 24, 24};
    engine::Surface dst(20, 20);
    engine::TSpriteRec s;
    s.setPos(10, 2);  // overlaps the top edge and the clip's left edge
    s.rotation = 32;
    engine::rotateCopy(dst, TRect{10, 0, 40, 40}, bank, 0, p, s, 1024);
    int inside = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.row(y)[x], 0) << x << "," << y;
        for (int x = 10; x < 20; ++x) inside += dst.row(y)[x] == 3;
    }
    EXPECT_GT(inside, 50);
    // A hot spot far outside the surface writes nothing and reads nothing out of range.
    s.setPos(-500, 30000);
    engine::rotateCopy(dst, TRect{-1000, -1000, 1000, 1000}, bank, 0, p, s, 1024);
}

}  // namespace
