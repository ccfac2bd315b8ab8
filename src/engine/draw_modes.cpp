#include "engine/draw_modes.h"

#include <algorithm>
#include <cstring>

namespace engine {

void drawFlash(Surface& dst, int x, int y, const Surface& bank, const TRect& s) {
    if (bank.empty() || bank.width < 4) return;
    std::uint32_t key;
    std::memcpy(&key, bank.row(0), 4);
    const int groups = ((s.right - s.left) >> 2) + 1;
    const int rows = s.bottom - s.top + 1;
    const int sx0 = s.left & ~3, dx0 = x & ~3;
    constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
    for (int r = 0; r < rows; ++r) {
        const int sy = s.top + r, dy = y + r;
        if (sy < 0 || sy >= bank.height || dy < 0 || dy >= dst.height) continue;
        const std::uint8_t* srow = bank.row(sy);
        std::uint8_t* drow = dst.row(dy);
        for (int g = 0; g < groups; ++g) {
            const int sx = sx0 + 4 * g, dx = dx0 + 4 * g;
            if (sx < 0 || sx + 4 > bank.width || dx < 0 || dx + 4 > dst.width) continue;
            std::uint32_t v;
            std::memcpy(&v, srow + sx, 4);
            if (v != key) std::memcpy(drow + dx, &kWhite, 4);
        }
    }
}

void drawTableMix(Surface& dst, int x, int y, const Surface& bank, const TRect& s, const MixTable& table) {
    if (bank.empty()) return;
    const std::uint8_t key = bank.row(0)[0];
    // Columns and rows that lie inside both surfaces.
    const int c0 = std::max({0, -s.left, -x});
    const int c1 = std::min({s.right - s.left, bank.width - 1 - s.left, dst.width - 1 - x});
    const int r0 = std::max({0, -s.top, -y});
    const int r1 = std::min({s.bottom - s.top, bank.height - 1 - s.top, dst.height - 1 - y});
    for (int r = r0; r <= r1; ++r) {
        const std::uint8_t* srow = bank.row(s.top + r) + s.left;
        std::uint8_t* drow = dst.row(y + r) + x;
        for (int c = c0; c <= c1; ++c) {
            const std::uint8_t v = srow[c];
            if (v != key) drow[c] = table[static_cast<std::size_t>(drow[c]) * 256 + v];
        }
    }
}

void fillRect(Surface& dst, const TRect& r, std::uint8_t colour) {
    const int l = std::max(0, r.left), t = std::max(0, r.top);
    const int rt = std::min(dst.width, r.right), b = std::min(dst.height, r.bottom);
    if (rt <= l || b <= t) return;
    for (int y = t; y < b; ++y) std::memset(dst.row(y) + l, colour, static_cast<std::size_t>(rt - l));
}

plat::Palette fadePalette(const plat::Palette& stored, int level, bool toWhite) {
    const auto lv = static_cast<std::uint32_t>(std::clamp(level, 0, 256));
    auto ch = [&](std::uint8_t c8) {
        const std::uint32_t c = c8;
        const std::uint32_t v = toWhite ? ((255 - c) * lv + c * 256) >> 8 : (c * 256 - c * lv) >> 8;
        return static_cast<std::uint8_t>(v);
    };
    plat::Palette out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = plat::Rgb{ch(stored[i].r), ch(stored[i].g), ch(stored[i].b)};
    return out;
}

}  // namespace engine
