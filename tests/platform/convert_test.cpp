#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/convert.h"

namespace {

plat::Palette randomPalette(std::uint32_t seed) {
    std::mt19937 rng(seed);
    plat::Palette p;
    for (auto& c : p) {
        c.r = static_cast<std::uint8_t>(rng());
        c.g = static_cast<std::uint8_t>(rng());
        c.b = static_cast<std::uint8_t>(rng());
    }
    return p;
}

TEST(Convert, LookupPutsRedGreenBlueInXrgbOrder) {
    plat::Palette p{};
    p[7] = {0x12, 0x34, 0x56};
    p[255] = {255, 255, 255};
    plat::PaletteLookup lut;
    plat::buildLookup(p, lut);
    EXPECT_EQ(lut[0], 0x00000000u);
    EXPECT_EQ(lut[7], 0x00123456u);
    EXPECT_EQ(lut[255], 0x00FFFFFFu);
}

// Every width from 1 to 40 (the unrolled body and the tail), odd source and destination
// pitches, all 256 indices; the destination's padding must stay untouched.
TEST(Convert, FrameMatchesPerPixelReference) {
    const plat::Palette palette = randomPalette(1);
    plat::PaletteLookup lut;
    plat::buildLookup(palette, lut);
    std::mt19937 rng(2);
    for (int width = 1; width <= 40; ++width) {
        const int height = 3;
        const int srcPitch = width + 5;
        const int dstPitchPixels = width + 3;
        std::vector<std::uint8_t> src(static_cast<std::size_t>(srcPitch * height));
        for (auto& b : src) b = static_cast<std::uint8_t>(rng());
        constexpr std::uint32_t kGuard = 0xDEADBEEF;
        std::vector<std::uint32_t> dst(static_cast<std::size_t>(dstPitchPixels * height), kGuard);
        plat::convertFrame(plat::FrameView{src.data(), srcPitch, width, height}, lut, dst.data(), dstPitchPixels * 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < dstPitchPixels; ++x) {
                const std::uint32_t got = dst[static_cast<std::size_t>(y * dstPitchPixels + x)];
                if (x < width) {
                    const plat::Rgb c = palette[src[static_cast<std::size_t>(y * srcPitch + x)]];
                    const std::uint32_t want = (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
                    ASSERT_EQ(got, want) << "width " << width << " at " << x << "," << y;
                } else {
                    ASSERT_EQ(got, kGuard) << "padding written, width " << width;
                }
            }
        }
    }
}

TEST(Convert, FullFrameUsesEveryIndex) {
    const plat::Palette palette = randomPalette(3);
    plat::PaletteLookup lut;
    plat::buildLookup(palette, lut);
    std::vector<std::uint8_t> src(640 * 480);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint8_t>(i * 7 + i / 640);
    std::vector<std::uint32_t> dst(src.size());
    plat::convertFrame(plat::FrameView{src.data(), 640, 640, 480}, lut, dst.data(), 640 * 4);
    for (std::size_t i = 0; i < src.size(); ++i) ASSERT_EQ(dst[i], plat::toXrgb(palette[src[i]])) << i;
}

// RGBA bytes in memory order through the palette: rows packed without the source's padding,
// a width that leaves a tail after the unrolled body.
TEST(Convert, RgbaBytesFollowThePaletteRowByRow) {
    const plat::Palette palette = randomPalette(4);
    constexpr int width = 13, height = 20, pitch = 16;
    std::vector<std::uint8_t> src(pitch * height);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint8_t>(i * 5);
    std::vector<std::uint8_t> rgba(3, 9);
    plat::frameToRgba(plat::FrameView{src.data(), pitch, width, height}, palette, rgba);
    ASSERT_EQ(rgba.size(), static_cast<std::size_t>(width * height * 4));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const plat::Rgb c = palette[src[static_cast<std::size_t>(y * pitch + x)]];
            const std::uint8_t* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
            ASSERT_EQ((std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]}), (std::array<std::uint8_t, 4>{c.r, c.g, c.b, 255}))
                << x << "," << y;
        }
}

}  // namespace
