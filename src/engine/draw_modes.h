#pragma once
// The per-pixel drawing modes, rectangle fills and palette fades over 8-bit surfaces.

#include <array>
#include <cstdint>

#include "engine/geometry.h"
#include "engine/surface.h"
#include "platform/platform.h"

namespace engine {

// How a pattern goes onto the back buffer (TSpriteEx::DrawPattern).
enum class TDrawMode : std::uint8_t {
    Plain,   // keyed copy
    Flash,   // white silhouette (drawFlash)
    Add,     // mixed with what lies under it through the add table
    Mix2,    // the same through the second mix table
};

using MixTable = std::array<std::uint8_t, 65536>;   // entry dest * 256 + src

// White silhouette in 32-bit groups: every group of four source pixels, starting at s.left
// rounded down to a multiple of four, that differs from the bank's top-left group makes the
// matching destination group (x rounded down likewise) all 255. Covers (width >> 2) + 1 groups
// per row and one row more than s. Groups outside either surface are skipped.
void drawFlash(Surface& dst, int x, int y, const Surface& bank, const TRect& s);

// Table mix: every source pixel of s plus one more column and row that is not the bank's
// top-left colour turns the destination pixel d under it into table[d * 256 + src].
// Pixels outside either surface are skipped.
void drawTableMix(Surface& dst, int x, int y, const Surface& bank, const TRect& s, const MixTable& table);

// Fills r of dst (clipped to dst) with colour.
void fillRect(Surface& dst, const TRect& r, std::uint8_t colour);

// The stored palette moved towards white or black by level / 256 (level clamped to 0..256).
plat::Palette fadePalette(const plat::Palette& stored, int level, bool toWhite);

}  // namespace engine
