// The enemy bullets, drawn from their table.
#include "game/tz_draw.h"
#include "game/tz_enemymissile.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {

void DrawEnemyShots() {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    const std::int16_t pulse = static_cast<std::int16_t>((RefreshCount / 4) % 2);  // two-frame animation
    for (const TEnemyShot& b : EnemyShots) {
        if (b.Index <= 0) continue;
        switch (b.BulletKind) {
        case Bullet::Falling:
        case Bullet::Aimed: sprite.DrawPattern(b.XPos(), b.YPos(), static_cast<std::int16_t>(b.Pattern + pulse)); break;
        case Bullet::GeneratorSpark:
            if (SceneTimer % 2 == 0) sprite.DrawSprite(sprite.FBackBuffer, b.SpriteRec());
            break;
        case Bullet::Cancelled: break;
        default: sprite.DrawSprite(sprite.FBackBuffer, b.SpriteRec()); break;
        }
    }
}

}  // namespace tz
