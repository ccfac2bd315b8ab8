#include "engine/rotation.h"

#include <algorithm>

#include "engine/trig.h"

namespace engine {

namespace {
std::int32_t roundedTurn(std::int64_t scaled) { return static_cast<std::int32_t>((scaled + 512) / 1024); }
}  // namespace

TPoint RotatePoint(std::int32_t x, std::int32_t y, std::uint8_t angle) {
    const std::int64_t s = sinOf(angle), c = cosOf(angle);
    return TPoint{roundedTurn(x * c - y * s), roundedTurn(x * s + y * c)};
}

bool RotateBounds(const TRect& r, const TPoint& pivot, int angle, TRect& result) {
    if (angle < 0 || angle > 255) return false;
    const auto a = static_cast<std::uint8_t>(angle);
    // The rounding is monotonic, so the extremes of the rounded corners are the rounded
    // extremes of the exact rotation: taking them over all four corners is exact.
    const TPoint corners[4] = {
        RotatePoint(r.left - pivot.x, r.top - pivot.y, a), RotatePoint(r.right - pivot.x, r.top - pivot.y, a),
        RotatePoint(r.left - pivot.x, r.bottom - pivot.y, a), RotatePoint(r.right - pivot.x, r.bottom - pivot.y, a)};
    TRect b{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const TPoint& q : corners) {
        b.left = std::min(b.left, q.x);
        b.top = std::min(b.top, q.y);
        b.right = std::max(b.right, q.x);
        b.bottom = std::max(b.bottom, q.y);
    }
    result = TRect{b.left + pivot.x, b.top + pivot.y, b.right + 1 + pivot.x, b.bottom + 1 + pivot.y};
    return true;
}

TRect rotatedPatternBox(const TPatternRec& p, int angle) {
    const TRect extent{-p.originX, -p.originY, p.width() - p.originX, p.height() - p.originY};
    TRect box = extent;
    RotateBounds(extent, TPoint{}, angle & 255, box);
    return box;
}

int rotationFrameAngle(int k, int rotLast) { return nearest(256.0 / (rotLast + 1) * k); }

int rotationFrameIndex(std::uint8_t rotation, int rotLast) {
    const int n = rotLast + 1;
    return nearest(static_cast<double>(rotation) * n / 256.0) % n;
}

int layoutRotationFrames(const TPatternRec& p, TRotationCache& cache, int screenWidth) {
    const int n = p.rotLast + 1;
    cache.frames.assign(static_cast<std::size_t>(n), TRotationFrame{});
    int x = 0, y = 0, rowHeight = 0;
    for (int k = 0; k < n; ++k) {
        const int a = rotationFrameAngle(k, p.rotLast);
        const TRect box = rotatedPatternBox(p, a);
        const int w = box.right - box.left, h = box.bottom - box.top;
        if (x + w >= screenWidth) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        TRotationFrame& f = cache.frames[static_cast<std::size_t>(k)];
        // A frame wider than the sheet keeps what fits: the cell says what the sheet holds.
        f.bounds = TRect{x, y, std::min(x + w, screenWidth), y + h};
        f.originX = static_cast<std::int16_t>(-box.left);
        f.originY = static_cast<std::int16_t>(-box.top);
        const TPoint anchor = RotatePoint(p.anchorX, p.anchorY, static_cast<std::uint8_t>(a));
        f.anchorX = static_cast<std::int16_t>(anchor.x);
        f.anchorY = static_cast<std::int16_t>(anchor.y);
        x += w;
        rowHeight = std::max(rowHeight, h);
    }
    cache.height = y + rowHeight;
    return cache.height;
}

void rotateCopy(Surface& dst, const TRect& clip, const Surface& bank, std::uint8_t key, const TPatternRec& p,
                const TSpriteRec& spr, int sizeSin) {
    if (sizeSin <= 0) sizeSin = 1024;
    const int w = p.width(), h = p.height();
    if (w <= 0 || h <= 0) return;
    const TRect box = rotatedPatternBox(p, spr.rotation);
    const std::int64_t s = sinOf(spr.rotation), c = cosOf(spr.rotation);
    const std::int64_t du = (c * 1024) / sizeSin;   // source step per destination column
    const std::int64_t dv = -(s * 1024) / sizeSin;
    const std::int64_t limU = static_cast<std::int64_t>(w) * 1024, limV = static_cast<std::int64_t>(h) * 1024;
    const int px = spr.xPos(), py = spr.yPos();
    // Destination window: the clip rectangle within the surface.
    const int wl = std::max<int>(0, clip.left), wt = std::max<int>(0, clip.top);
    const int wr = std::min<int>(dst.width, clip.right), wb = std::min<int>(dst.height, clip.bottom);
    for (int y = box.top; y <= box.bottom; ++y) {
        const int dy = py + y;
        if (dy < wt || dy >= wb) continue;
        std::uint8_t* drow = dst.row(dy);
        std::int64_t u = std::int64_t{p.originX} * 1024 + (box.left * c * 1024) / sizeSin + (y * s * 1024) / sizeSin;
        std::int64_t v = std::int64_t{p.originY} * 1024 - (box.left * s * 1024) / sizeSin + (y * c * 1024) / sizeSin;
        for (int x = box.left; x <= box.right; ++x, u += du, v += dv) {
            if (u < 0 || u >= limU || v < 0 || v >= limV) continue;
            const int dx = px + x;
            if (dx < wl || dx >= wr) continue;
            const int sx = p.source.left + static_cast<int>(u >> 10);
            const int sy = p.source.top + static_cast<int>(v >> 10);
            if (sx < 0 || sy < 0 || sx >= bank.width || sy >= bank.height) continue;
            const std::uint8_t pix = bank.row(sy)[sx];
            if (pix != key) drow[dx] = pix;
        }
    }
}

}  // namespace engine
