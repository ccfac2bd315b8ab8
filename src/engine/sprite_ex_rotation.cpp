// TSpriteEx: rotated drawing (pre-rotated sheet frames or live rotation), the rotation
// sheets and the sprite hit test.

#include "engine/draw_modes.h"
#include "engine/rotation.h"
#include "engine/sprite_ex.h"
#include "engine/sprite_hit.h"

namespace engine {

void TSpriteEx::DrawSprite(const TSpriteRec& Spr) {
    SurfacePtr& Dest = FBackBuffer;
    const TPatternRec* p = DrawablePattern(Spr.pattern);
    if (p == nullptr) return;
    const bool sheet = p->rotCache.surface != nullptr && !p->rotCache.frames.empty();
    const int f = sheet ? rotationFrameIndex(Spr.rotation, p->rotLast) : Spr.rotation;
    if (f == 0) {
        BltPattern(Dest.get(), static_cast<std::int16_t>((Spr.xPos() + FOffsetX - p->originX) * FSizeRate >> 2),
                   static_cast<std::int16_t>((Spr.yPos() + FOffsetY - p->originY) * FSizeRate >> 2), *p);
        return;
    }
    if (sheet) {
        const TRotationFrame& fr = p->rotCache.frames[static_cast<std::size_t>(f)];
        BltClipped(Dest.get(), static_cast<std::int16_t>((Spr.xPos() + FOffsetX - fr.originX) * FSizeRate >> 2),
                   static_cast<std::int16_t>((Spr.yPos() + FOffsetY - fr.originY) * FSizeRate >> 2),
                   p->rotCache.surface.get(), fr.bounds);
        return;
    }
    // Live rotation, clipped to the clip rectangle like every other drawing.
    if (!Running() || !Dest) return;
    TSpriteRec at = Spr;
    at.setPos(Spr.xPos() + FOffsetX, Spr.yPos() + FOffsetY);
    RotateCopy(*Dest, at);
}

void TSpriteEx::RotateCopy(Surface& Dest, const TSpriteRec& Spr) {
    const TPatternRec* p = DrawablePattern(Spr.pattern);
    if (p == nullptr) return;
    const TBankRec& b = FBankData[p->bank];
    rotateCopy(Dest, ScaledClipRect(), *b.surface, static_cast<std::uint8_t>(b.colorKey), *p, Spr, FSizeSin);
}

bool TSpriteEx::SpriteHit(const TSpriteRec& A, const TSpriteRec& B) const { return engine::SpriteHit(FPatterns, A, B); }

TRotationCache& TSpriteEx::RotationCache(std::int16_t Pattern, int Variant) {
    TPatternRec& p = FPatterns[static_cast<std::size_t>(Pattern)];
    return Variant == 0 ? p.rotCache : p.rotCache2;
}

void TSpriteEx::PrepareBankRotations(int Bank, int Variant) {
    if (Bank < 0 || Bank >= kBankCount) return;
    const TBankRec& b = FBankData[static_cast<std::size_t>(Bank)];
    for (int i = b.first; i <= b.first + b.last && i < kPatternCount; ++i) {
        if (FPatterns[static_cast<std::size_t>(i)].rotLast != 0) PreparePatternRotations(static_cast<std::int16_t>(i), Variant);
    }
}

void TSpriteEx::PreparePatternRotations(std::int16_t Pattern, int Variant) {
    if (Pattern < 0 || Pattern >= kPatternCount) return;
    const TPatternRec& p = FPatterns[static_cast<std::size_t>(Pattern)];
    if (p.width() <= 0 || p.height() <= 0) return;   // nothing to rotate
    const int n = p.rotLast;
    for (int k = 0; k <= n; ++k)
        RenderRotationFrame(Pattern, static_cast<std::uint8_t>(rotationFrameAngle(k, n)), Variant);
}

std::int16_t TSpriteEx::LayoutRotationSheet(std::int16_t Pattern, int Variant) {
    TRotationCache& cache = RotationCache(Pattern, Variant);
    return static_cast<std::int16_t>(layoutRotationFrames(FPatterns[static_cast<std::size_t>(Pattern)], cache, FScreenWidth));
}

void TSpriteEx::RenderRotationFrame(std::int16_t Pattern, std::uint8_t Angle, int Variant) {
    if (Pattern < 0 || Pattern >= kPatternCount) return;
    TPatternRec& p = FPatterns[static_cast<std::size_t>(Pattern)];
    const TBankRec& b = FBankData[p.bank];
    if (!b.surface) return;
    TRotationCache& cache = RotationCache(Pattern, Variant);
    if (cache.frames.empty()) {
        LayoutRotationSheet(Pattern, Variant);
        // The layout is in screen pixels; the surface list keeps heights at the 640-wide
        // size and scales them, so the sheet is listed at the height that scales back to
        // at least the layout's.
        AddSurface(cache.surface, (cache.height * 4 + FSizeRate - 1) / FSizeRate, false, false);
        if (!cache.surface) {
            cache.frames.clear();
            return;
        }
        FillSurface(cache.surface.get(), TRect{0, 0, FScreenWidth, cache.height}, static_cast<int>(b.colorKey & 0xFF));
        SetColorKeyFromCorner(cache.surface);
    }
    if (!cache.surface) return;
    const int k = rotationFrameIndex(Angle, p.rotLast);
    const TRotationFrame& f = cache.frames[static_cast<std::size_t>(k)];
    TSpriteRec spr;
    spr.setPos(f.bounds.left + f.originX, f.bounds.top + f.originY);
    spr.rotation = Angle;
    spr.pattern = Pattern;
    // The frame's cell is the clip: a pixel never spills into the neighbouring frame.
    rotateCopy(*cache.surface, f.bounds, *b.surface, static_cast<std::uint8_t>(b.colorKey), p, spr, FSizeSin);
}

void TSpriteEx::ReleaseRotations(std::int16_t Pattern) {
    if (Pattern < 0 || Pattern >= kPatternCount) return;
    TPatternRec& p = FPatterns[static_cast<std::size_t>(Pattern)];
    for (TRotationCache* cache : {&p.rotCache, &p.rotCache2}) {
        cache->frames.clear();
        cache->frames.shrink_to_fit();
        cache->height = 0;
        // The sheet leaves the managed list with its surface, so reloading banks never
        // grows the list.
        ForgetSurface(cache->surface);
    }
    p.runs.clear();
}

void TSpriteEx::ForgetSurface(SurfacePtr& Surface) {
    UnlistSurface(Surface);
    Surface.reset();
}

}  // namespace engine
