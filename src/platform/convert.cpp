#include "platform/convert.h"

#include <bit>
#include <cstring>

namespace plat {

void buildLookup(const Palette& palette, PaletteLookup& lookup) {
    for (std::size_t i = 0; i < lookup.size(); ++i) lookup[i] = toXrgb(palette[i]);
}

// Eight indices are read with one 64-bit load and looked up one by one: the 1 KiB table
// stays in L1, and the unrolled body lets the loads and stores of neighbouring pixels
// overlap. (A 65,536-entry table that converts two pixels per lookup fills the L2 and
// loses to this.)
void convertRow(const std::uint8_t* src, std::uint32_t* dst, int width, const PaletteLookup& lookup) {
    const std::uint32_t* lut = lookup.data();
    int x = 0;
    static_assert(std::endian::native == std::endian::little, "the 64-bit load reads pixels low byte first");
    for (; x + 8 <= width; x += 8) {
        std::uint64_t v;
        std::memcpy(&v, src + x, sizeof v);
        dst[x + 0] = lut[v & 0xFF];
        dst[x + 1] = lut[(v >> 8) & 0xFF];
        dst[x + 2] = lut[(v >> 16) & 0xFF];
        dst[x + 3] = lut[(v >> 24) & 0xFF];
        dst[x + 4] = lut[(v >> 32) & 0xFF];
        dst[x + 5] = lut[(v >> 40) & 0xFF];
        dst[x + 6] = lut[(v >> 48) & 0xFF];
        dst[x + 7] = lut[v >> 56];
    }
    for (; x < width; ++x) dst[x] = lut[src[x]];
}

void convertFrame(const FrameView& frame, const PaletteLookup& lookup, void* dst, int dstPitch) {
    auto* out = static_cast<std::uint8_t*>(dst);
    const std::uint8_t* in = frame.pixels;
    for (int y = 0; y < frame.height; ++y) {
        convertRow(in, reinterpret_cast<std::uint32_t*>(out), frame.width, lookup);
        in += frame.pitch;
        out += dstPitch;
    }
}

// The same row conversion with a table whose entries lie in memory as r, g, b, 255.
void frameToRgba(const FrameView& frame, const Palette& palette, std::vector<std::uint8_t>& rgba) {
    PaletteLookup lookup;
    for (std::size_t i = 0; i < lookup.size(); ++i)
        lookup[i] = std::uint32_t{palette[i].r} | (std::uint32_t{palette[i].g} << 8) | (std::uint32_t{palette[i].b} << 16) |
                    0xFF000000u;
    rgba.resize(static_cast<std::size_t>(frame.width > 0 ? frame.width : 0) *
                static_cast<std::size_t>(frame.height > 0 ? frame.height : 0) * 4);
    if (rgba.empty()) return;
    convertFrame(frame, lookup, rgba.data(), frame.width * 4);
}

}  // namespace plat
