#include "engine/bitmap_blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine {

namespace {

void copyUnscaled(Surface& dst, int x, int y, int w, int h, const plat::Bitmap8& bmp, int sx, int sy) {
    if (sx < 0) { w += sx; x -= sx; sx = 0; }
    if (sy < 0) { h += sy; y -= sy; sy = 0; }
    if (x < 0) { w += x; sx -= x; x = 0; }
    if (y < 0) { h += y; sy -= y; y = 0; }
    w = std::min({w, bmp.width - sx, dst.width - x});
    h = std::min({h, bmp.height - sy, dst.height - y});
    if (w <= 0 || h <= 0) return;
    for (int r = 0; r < h; ++r) {
        std::memcpy(dst.row(y + r) + x, bmp.pixels.data() + static_cast<std::size_t>(sy + r) * static_cast<std::size_t>(bmp.width) + static_cast<std::size_t>(sx),
                    static_cast<std::size_t>(w));
    }
}

// Nearest-pixel stretch of the picture from (sx, sy) (bw x bh) onto (x, y) (dw x dh).
void stretch(Surface& dst, int x, int y, int dw, int dh, const plat::Bitmap8& bmp, int sx, int sy, int bw, int bh) {
    if (dw <= 0 || dh <= 0 || bw <= 0 || bh <= 0) return;
    for (int r = 0; r < dh; ++r) {
        const int dy = y + r;
        if (dy < 0 || dy >= dst.height) continue;
        const int srcY = sy + static_cast<int>(static_cast<long long>(r) * bh / dh);
        if (srcY < 0 || srcY >= bmp.height) continue;
        const std::uint8_t* srow = bmp.pixels.data() + static_cast<std::size_t>(srcY) * static_cast<std::size_t>(bmp.width);
        std::uint8_t* drow = dst.row(dy);
        for (int c = 0; c < dw; ++c) {
            const int dx = x + c;
            if (dx < 0 || dx >= dst.width) continue;
            const int srcX = sx + static_cast<int>(static_cast<long long>(c) * bw / dw);
            if (srcX < 0 || srcX >= bmp.width) continue;
            drow[dx] = srow[srcX];
        }
    }
}

}  // namespace

int stretchedHeight(const plat::Bitmap8& bmp, int screenWidth) {
    if (bmp.width <= 0) return 0;
    const long double ratio = static_cast<long double>(screenWidth) / bmp.width;
    return static_cast<int>(std::nearbyintl(bmp.height * ratio));
}

void bltBitmap(Surface& dst, int x, int y, int width, int height, const plat::Bitmap8& bmp, int srcX, int srcY,
               const BitmapPlacement& place) {
    if (bmp.empty() || dst.empty()) return;
    if (place.fixScaling) {
        if (bmp.width == place.classWidth) {
            copyUnscaled(dst, x, y, width, height, bmp, srcX, srcY);
        } else {
            stretch(dst, x, y, place.screenWidth, stretchedHeight(bmp, place.screenWidth), bmp, srcX, srcY, bmp.width,
                    bmp.height);
        }
        return;
    }
    width = std::min({width, place.screenWidth, bmp.width});
    height = std::min({height, place.screenHeight, bmp.height});
    copyUnscaled(dst, x, y, width, height, bmp, srcX, srcY);
}

}  // namespace engine
