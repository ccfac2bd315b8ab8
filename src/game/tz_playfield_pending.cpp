// PENDING: see tz_playfield_pending.h.
#include "game/tz_playfield_pending.h"

#include "game/tz_main.h"
#include "game/tz_map.h"

namespace tz {

void DrawPlayField() {
    if (Form1 == nullptr || !BgSurface) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    sprite.BltClipped(sprite.FBackBuffer.get(), 0, 0, BgSurface.get(), engine::TRect{0, 0, 640, 480});
    DrawStars();
}

void DrawEffects() {}

}  // namespace tz
