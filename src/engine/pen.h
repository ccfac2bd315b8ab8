#pragma once
// TPen: the engine's drawing state for one stretch of drawing. Patterns and sprites go onto
// the back buffer in a draw mode, moved by two offsets and clipped to a rectangle; a pen
// takes those as it finds them, lets its owner set them, and puts back what it found when it
// goes out of scope. A drawing routine that sets what it needs through a pen depends on
// nothing earlier drawing left behind, and leaves nothing behind for later drawing.
//
// Pens nest (an inner one restores the outer one's state) and live on the stack only.

#include <cstddef>
#include <cstdint>

#include "engine/draw_modes.h"
#include "engine/geometry.h"
#include "engine/sprite_ex.h"

namespace engine {

class TPen {
public:
    // The state as it is, to be changed by the setters.
    explicit TPen(TSpriteEx& sprite)
        : FSprite(sprite), FMode(sprite.FDrawMode), FOffsetX(sprite.FOffsetX), FOffsetY(sprite.FOffsetY),
          FClip(sprite.FClipRect) {}
    // All three set at once.
    TPen(TSpriteEx& sprite, TDrawMode mode, TPoint offset, const TRect& clip) : TPen(sprite) {
        SetMode(mode);
        SetOffset(offset.x, offset.y);
        SetClip(clip);
    }
    ~TPen() {
        FSprite.FDrawMode = FMode;
        FSprite.FOffsetX = FOffsetX;
        FSprite.FOffsetY = FOffsetY;
        FSprite.FClipRect = FClip;
    }
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    static void* operator new(std::size_t) = delete;

    void SetMode(TDrawMode mode) { FSprite.FDrawMode = mode; }
    void SetOffset(std::int32_t x, std::int32_t y) {
        FSprite.FOffsetX = x;
        FSprite.FOffsetY = y;
    }
    void SetClip(const TRect& clip) { FSprite.FClipRect = clip; }

    TSpriteEx& Sprite() const { return FSprite; }
    TDrawMode Mode() const { return FSprite.FDrawMode; }
    TPoint Offset() const { return FSprite.DrawOffset(); }

private:
    TSpriteEx& FSprite;
    TDrawMode FMode;
    std::int32_t FOffsetX, FOffsetY;
    TRect FClip;
};

}  // namespace engine
