// TSpriteEx: pattern drawing in its four modes, the clipped keyed copy, fills and fades.

#include "engine/blit.h"
#include "engine/draw_modes.h"
#include "engine/sprite_ex.h"

namespace engine {

TRect TSpriteEx::ScaledClipRect() const {
    return TRect{FClipRect.left * FSizeRate >> 2, FClipRect.top * FSizeRate >> 2, FClipRect.right * FSizeRate >> 2,
                 FClipRect.bottom * FSizeRate >> 2};
}

const TPatternRec* TSpriteEx::DrawablePattern(int Pattern) const {
    if (Pattern < 0 || Pattern >= kPatternCount) return nullptr;
    const TPatternRec& p = FPatterns[static_cast<std::size_t>(Pattern)];
    if (p.bank >= kBankCount) return nullptr;
    const TBankRec& b = FBankData[p.bank];
    if (b.last < 0 || !b.surface) return nullptr;
    return &p;
}

void TSpriteEx::DrawPattern(std::int16_t X, std::int16_t Y, std::int16_t Pattern) {
    const TPatternRec* p = DrawablePattern(Pattern);
    if (p == nullptr) return;
    switch (FDrawMode) {
        case TDrawMode::Flash: DrawPatternFlash(X, Y, Pattern); return;
        case TDrawMode::Add: DrawPatternAdd(X, Y, Pattern); return;
        case TDrawMode::Mix2: DrawPatternMix2(X, Y, Pattern); return;
        case TDrawMode::Plain: break;
    }
    const auto xs = static_cast<std::int16_t>((X + FOffsetX - p->originX) * FSizeRate >> 2);
    const auto ys = static_cast<std::int16_t>((Y + FOffsetY - p->originY) * FSizeRate >> 2);
    BltPattern(FBackBuffer.get(), xs, ys, *p);
}

void TSpriteEx::BltPattern(Surface* Dest, std::int16_t X, std::int16_t Y, const TPatternRec& P) {
    const Surface* src = FBankData[P.bank].surface.get();
    if (!Running() || Dest == nullptr || src == nullptr) return;
    TRect s = P.source;
    if (!clipToRect(X, Y, s, ScaledClipRect())) return;
    blitKeyed(*Dest, X, Y, *src, s, &P.runs, &P.source);
}

void TSpriteEx::BltClipped(Surface* Dest, std::int16_t X, std::int16_t Y, const Surface* Src, const TRect& SrcRect) {
    if (!Running() || Dest == nullptr || Src == nullptr) return;
    TRect s = SrcRect;
    if (!clipToRect(X, Y, s, ScaledClipRect())) return;
    blitKeyed(*Dest, X, Y, *Src, s);
}

// The common frame of the per-pixel modes: position, clipping with k extra columns
// (and one extra row), then the mode's pixel loop on the locked surfaces.
template <class PixelLoop>
void TSpriteEx::DrawPerPixel(std::int16_t X, std::int16_t Y, std::int16_t Pattern, int k, PixelLoop loop) {
    const TPatternRec* p = DrawablePattern(Pattern);
    if (p == nullptr || !Running() || !FBackBuffer) return;
    auto x = static_cast<std::int16_t>(X + FOffsetX - p->originX);
    auto y = static_cast<std::int16_t>(Y + FOffsetY - p->originY);
    TRect s = p->source;
    if (!clipToRect(x, y, s, ScaledClipRect(), k, 1)) return;
    loop(*FBackBuffer, x, y, *FBankData[p->bank].surface, s);
}

void TSpriteEx::DrawPatternFlash(std::int16_t X, std::int16_t Y, std::int16_t Pattern) {
    DrawPerPixel(X, Y, Pattern, 4, [](Surface& d, int x, int y, const Surface& b, const TRect& s) { drawFlash(d, x, y, b, s); });
}

void TSpriteEx::DrawPatternAdd(std::int16_t X, std::int16_t Y, std::int16_t Pattern) {
    DrawPerPixel(X, Y, Pattern, 1, [this](Surface& d, int x, int y, const Surface& b, const TRect& s) {
        drawTableMix(d, x, y, b, s, FAddTable);
    });
}

void TSpriteEx::DrawPatternMix2(std::int16_t X, std::int16_t Y, std::int16_t Pattern) {
    DrawPerPixel(X, Y, Pattern, 1, [this](Surface& d, int x, int y, const Surface& b, const TRect& s) {
        drawTableMix(d, x, y, b, s, FMixTable2);
    });
}

void TSpriteEx::FillSurface(Surface* Dest, const TRect& R, int Color) {
    if (!Running() || Dest == nullptr) return;
    fillRect(*Dest, R, static_cast<std::uint8_t>(Color));
}

void TSpriteEx::FillDisplay(std::uint8_t Color) {
    for (Surface* s : {FPrimary.get(), FBackBuffer.get()})
        if (s != nullptr) FillSurface(s, TRect{0, 0, s->width, s->height}, Color);
}

void TSpriteEx::FadeToWhite(int Level) {
    if (FBitsPerPixel != 8 || !Running() || !HasPalette()) return;
    SetPaletteEntries(fadePalette(FPaletteEntries, Level, true));
}

void TSpriteEx::FadeToBlack(int Level) {
    if (FBitsPerPixel != 8 || !Running() || !HasPalette()) return;
    SetPaletteEntries(fadePalette(FPaletteEntries, Level, false));
}

}  // namespace engine
