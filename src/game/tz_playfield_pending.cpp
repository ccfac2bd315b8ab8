// PENDING: see tz_playfield_pending.h.
#include "game/tz_playfield_pending.h"

#include "game/tz_main.h"
#include "game/tz_gamemain.h"
#include "game/tz_map.h"
#include "game/tz_unitlist.h"

namespace tz {

void DrawPlayField() {
    if (Form1 == nullptr || !BgSurface) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    // The whole backdrop, side panels included: the copy is not clipped to the play field.
    const engine::TRect clip = sprite.FClipRect;
    sprite.FClipRect = engine::TRect{0, 0, 640, 480};
    sprite.BltClipped(sprite.FBackBuffer.get(), 0, 0, BgSurface.get(), engine::TRect{0, 0, 640, 480});
    sprite.FClipRect = clip;
    DrawStars();
    // The listed objects in the play field, shifted by the camera.
    const std::int32_t camX = WholePart(MapPos.x);
    sprite.FOffsetX = 128 - camX;
    UnitList.DrawArea(MyShip.Index, engine::TRect{camX, -500, camX + 384, 580});
    sprite.FOffsetX = 0;
}

void DrawEffects() {}

}  // namespace tz
