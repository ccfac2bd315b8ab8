#pragma once
// Palette conversion of 8-bit frames to 32-bit XRGB8888 pixels (0x00RRGGBB in a uint32,
// the layout of SDL's XRGB8888 / RGB888 format), and to RGBA bytes for pictures written to
// files. Plain code, no SDL: the presenter, the engine's frame copies, the benchmark and
// the tests share it.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace plat {

// One XRGB8888 pixel per palette index.
using PaletteLookup = std::array<std::uint32_t, 256>;

constexpr std::uint32_t toXrgb(Rgb c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

void buildLookup(const Palette& palette, PaletteLookup& lookup);

// Converts one row of `width` indices.
void convertRow(const std::uint8_t* src, std::uint32_t* dst, int width, const PaletteLookup& lookup);

// Converts the whole frame into `dst`, whose rows are `dstPitch` bytes apart (a multiple
// of 4, at least frame.width * 4).
void convertFrame(const FrameView& frame, const PaletteLookup& lookup, void* dst, int dstPitch);

// The whole frame through the palette as RGBA bytes (r, g, b, 255 per pixel, rows top to
// bottom with no padding); rgba is resized to fit.
void frameToRgba(const FrameView& frame, const Palette& palette, std::vector<std::uint8_t>& rgba);

}  // namespace plat
