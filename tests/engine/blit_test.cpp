#include <gtest/gtest.h>

#include <random>

#include "engine/blit.h"
#include "engine/draw_modes.h"

namespace {

using engine::Surface;
using engine::TRect;

// A bank surface whose key (index 0) sits at the top-left, with a 16x16 pattern at (16, 0):
// pixel (x, y) of the pattern is 1 + x + 16 * y except a transparent diagonal.
Surface makeBank() {
    Surface s(64, 32);
    s.colorKey = 0;
    s.hasColorKey = true;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) s.row(y)[16 + x] = x == y ? 0 : static_cast<std::uint8_t>(1 + x + 16 * y);
    return s;
}

// Draws the 16x16 pattern through the clip rule at (x, y) and returns the destination.
Surface drawClipped(int x, int y, const TRect& clip) {
    const Surface bank = makeBank();
    Surface dst(64, 64);
    engine::fillRect(dst, TRect{0, 0, 64, 64}, 200);
    auto xs = static_cast<std::int16_t>(x), ys = static_cast<std::int16_t>(y);
    TRect s{16, 0, 32, 16};
    if (engine::clipToRect(xs, ys, s, clip)) engine::blitKeyed(dst, xs, ys, bank, s);
    return dst;
}

int expectedAt(const Surface& dst, int x0, int y0, const TRect& clip, int x, int y) {
    const int u = x - x0, v = y - y0;
    const bool inPattern = u >= 0 && u < 16 && v >= 0 && v < 16;
    const bool inClip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
    if (!inPattern || !inClip || u == v) return 200;
    (void)dst;
    return 1 + u + 16 * v;
}

TEST(BltClipped, ClipsAtEachEdgeOfTheClipRectangle) {
    const TRect clip{20, 10, 44, 40};
    const int positions[][2] = {{10, 20}, {35, 20}, {24, 2}, {24, 30}, {10, 2}, {35, 30}, {24, 20}};
    for (const auto& pos : positions) {
        const Surface dst = drawClipped(pos[0], pos[1], clip);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(dst.row(y)[x], expectedAt(dst, pos[0], pos[1], clip, x, y))
                    << "at " << pos[0] << "," << pos[1] << " pixel " << x << "," << y;
    }
    // Ten pixels left of the clip's left edge: the ten leftmost columns are gone.
    const Surface d = drawClipped(10, 20, clip);
    EXPECT_EQ(d.row(21)[20], 1 + 10 + 16 * 1);
    // Entirely outside on each side: nothing drawn.
    for (const auto& pos : {std::array{0, 20}, std::array{44, 20}, std::array{24, -6}, std::array{24, 40}}) {
        auto xs = static_cast<std::int16_t>(pos[0]), ys = static_cast<std::int16_t>(pos[1]);
        TRect s{16, 0, 32, 16};
        EXPECT_FALSE(engine::clipToRect(xs, ys, s, clip)) << pos[0] << "," << pos[1];
    }
}

TEST(BltClipped, NeverReadsOrWritesOutsideEitherSurface) {
    const Surface bank = makeBank();
    Surface dst(20, 20);
    // A source rectangle reaching past the bank and a destination past the surface: clipped
    // to both (AddressSanitizer catches a stray access).
    engine::blitKeyed(dst, 10, 12, bank, TRect{40, 20, 90, 60});
    engine::blitKeyed(dst, -30, -30, bank, TRect{-8, -8, 70, 40});
    engine::blitKeyed(dst, 25, 5, bank, TRect{16, 0, 32, 16});
    SUCCEED();
}

// Every kernel (scalar, SSE2, AVX2, opaque runs) gives the same pixels for widths from 1 to
// 200 at odd offsets.
TEST(BltClipped, KernelsAgreeForEveryWidth) {
    std::mt19937 rng(7);
    Surface bank(320, 40);
    bank.hasColorKey = true;
    bank.colorKey = 5;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 320; ++x) {
            // runs of 16..45 pixels, alternately key and colour
            bank.row(y)[x] = ((x / (16 + y % 30)) % 2) ? 5 : static_cast<std::uint8_t>(rng() % 250 + 6);
        }
    Surface base(400, 60);
    for (auto& p : base.pixels) p = static_cast<std::uint8_t>(rng());
    const engine::BlitIsa saved = engine::currentBlitIsa();
    for (int w = 1; w <= 200; ++w) {
        const TRect s{3 + (w % 5), 2, 3 + (w % 5) + w, 2 + 1 + w % 37};
        Surface ref = base;
        engine::setBlitIsa(engine::BlitIsa::Scalar);
        engine::blitKeyed(ref, 7 + w % 13, 3, bank, s);
        for (engine::BlitIsa isa : {engine::BlitIsa::Sse2, engine::BlitIsa::Avx2}) {
            Surface got = base;
            engine::setBlitIsa(isa);
            engine::blitKeyed(got, 7 + w % 13, 3, bank, s);
            ASSERT_EQ(got.pixels, ref.pixels) << "width " << w << " isa " << static_cast<int>(isa);
        }
        engine::TOpaqueRuns runs;
        const TRect whole{0, 0, 320, 40};
        engine::buildOpaqueRuns(bank, whole, 5, runs);
        ASSERT_FALSE(runs.empty());
        Surface got = base;
        engine::blitKeyed(got, 7 + w % 13, 3, bank, s, &runs, &whole);
        ASSERT_EQ(got.pixels, ref.pixels) << "runs, width " << w;
    }
    engine::setBlitIsa(saved);
}

TEST(BltClipped, OpaqueRunsAreKeptOnlyForWidePatternsWithLongRuns) {
    Surface bank(256, 8);
    engine::TOpaqueRuns runs;
    engine::fillRect(bank, TRect{0, 0, 256, 8}, 9);
    engine::buildOpaqueRuns(bank, TRect{0, 0, 32, 8}, 0, runs);
    EXPECT_TRUE(runs.empty());  // narrow: blended
    engine::buildOpaqueRuns(bank, TRect{0, 0, 200, 8}, 0, runs);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.runs.size(), 8u);
    for (int x = 0; x < 256; x += 2) bank.row(3)[x] = 0;  // a checkerboard row: short runs
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 256; x += 2) bank.row(y)[x] = 0;
    engine::buildOpaqueRuns(bank, TRect{0, 0, 200, 8}, 0, runs);
    EXPECT_TRUE(runs.empty());
}

}  // namespace
