// PENDING: see tz_engine_pending.h.
#include "game/tz_engine_pending.h"

#include <algorithm>

namespace tz {

namespace {

bool Running(const engine::TSpriteEx& sprite) {
    const auto s = sprite.SystemState();
    return s != engine::TSystemState::ssPlain && s != engine::TSystemState::ssTerminate;
}

// The stored palette moved towards white (or black) by Level / 256.
void Fade(engine::TSpriteEx& sprite, std::int32_t Level, bool white) {
    if (!Running(sprite) || !sprite.HasPalette()) return;
    const std::int32_t level = std::clamp(Level, 0, 256);
    plat::Palette shown = sprite.FPaletteEntries;
    auto move = [&](std::uint8_t c) {
        return static_cast<std::uint8_t>(white ? ((255 - c) * level + c * 256) >> 8 : (c * (256 - level)) >> 8);
    };
    for (plat::Rgb& e : shown) e = plat::Rgb{move(e.r), move(e.g), move(e.b)};
    sprite.SetPaletteEntries(shown);
}

}  // namespace

void FillSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Dest, const engine::TRect& R, std::int32_t Color) {
    if (!Running(sprite) || !Dest) return;
    engine::Surface& s = *Dest;
    const int left = std::max(0, R.left), top = std::max(0, R.top);
    const int right = std::min(s.width, R.right), bottom = std::min(s.height, R.bottom);
    for (int y = top; y < bottom; ++y)
        if (left < right) std::fill(s.row(y) + left, s.row(y) + right, static_cast<std::uint8_t>(Color));
}

void FadeToWhite(engine::TSpriteEx& sprite, std::int32_t Level) { Fade(sprite, Level, true); }
void FadeToBlack(engine::TSpriteEx& sprite, std::int32_t Level) { Fade(sprite, Level, false); }

void ReleaseBanks(engine::TSpriteEx&) {}
void RealizeBank(engine::TSpriteEx&, std::uint8_t) {}
void ReleaseBank(engine::TSpriteEx&, std::uint8_t) {}

std::uint32_t SetColorKeyFromCorner(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface) {
    if (!Running(sprite) || !Surface || Surface->pixels.size() < 4) return 0;
    const auto& p = Surface->pixels;
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

void MakeAddTable(engine::TSpriteEx&, const std::string&, std::int32_t, std::int32_t) {}

void BltBmpToSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface, std::int32_t X, std::int32_t Y,
                     std::int32_t Width, std::int32_t Height, const plat::Bitmap8& Bitmap, std::int32_t SrcX,
                     std::int32_t SrcY) {
    if (!Running(sprite) || !Surface || Bitmap.empty()) return;
    engine::Surface& s = *Surface;
    for (std::int32_t row = 0; row < Height; ++row) {
        const std::int32_t sy = SrcY + row, dy = Y + row;
        if (sy < 0 || sy >= Bitmap.height || dy < 0 || dy >= s.height) continue;
        for (std::int32_t col = 0; col < Width; ++col) {
            const std::int32_t sx = SrcX + col, dx = X + col;
            if (sx < 0 || sx >= Bitmap.width || dx < 0 || dx >= s.width) continue;
            s.row(dy)[dx] = Bitmap.at(sx, sy);
        }
    }
}

std::int32_t LoadBmpToSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface, const std::string& FileName) {
    if (!Running(sprite) || FileName.empty()) return -1;
    plat::Bitmap8 picture;
    std::string error;
    if (!plat::loadBitmap8(FileName, picture, error)) return -1;
    BltBmpToSurface(sprite, Surface, 0, 0, picture.width, picture.height, picture, 0, 0);
    return picture.height;
}

void BltFast(engine::TSpriteEx& sprite, engine::SurfacePtr& Dest, std::int32_t X, std::int32_t Y,
             engine::SurfacePtr& Src, const engine::TRect& R) {
    if (!Running(sprite) || !Dest || !Src) return;
    for (std::int32_t y = R.top; y < R.bottom; ++y) {
        const std::int32_t dy = Y + y - R.top;
        if (y < 0 || y >= Src->height || dy < 0 || dy >= Dest->height) continue;
        for (std::int32_t x = R.left; x < R.right; ++x) {
            const std::int32_t dx = X + x - R.left;
            if (x < 0 || x >= Src->width || dx < 0 || dx >= Dest->width) continue;
            Dest->row(dy)[dx] = Src->row(y)[x];
        }
    }
}

void DrawPattern(engine::TSpriteEx&, std::int32_t, std::int32_t, std::int32_t) {}

}  // namespace tz
