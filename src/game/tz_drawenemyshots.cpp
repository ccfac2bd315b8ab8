// The enemy bullets, drawn from their table.
#include <array>

#include "engine/pen.h"
#include "game/tz_draw.h"
#include "game/tz_enemymissile.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {

namespace {

// Some bullets take the pattern of a player's weapon (the gunship's beam, the mid-boss's
// laser, a generator's sparks); on the screen they show the enemy's twin of that picture, so
// that enemy fire never looks like the player's. Their hit circles are those of the pattern.
struct TTwinRange {
    std::int16_t First, Last, Twin;
};
constexpr std::array<TTwinRange, 3> EnemyTwins{{{111, 114, 168}, {115, 117, 162}, {121, 123, 165}}};

std::int16_t EnemyPicture(std::int16_t pattern) {
    for (const TTwinRange& r : EnemyTwins)
        if (pattern >= r.First && pattern <= r.Last) return static_cast<std::int16_t>(r.Twin + (pattern - r.First));
    return pattern;
}

}  // namespace

void DrawEnemyShots() {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    engine::TPen pen(sprite);
    pen.SetMode(engine::TDrawMode::Plain);
    const std::int16_t pulse = static_cast<std::int16_t>((RefreshCount / 4) % 2);  // two-frame animation
    for (const TEnemyShot& b : EnemyShots) {
        if (b.Index <= 0) continue;
        switch (b.BulletKind) {
        case Bullet::Falling:
        case Bullet::Aimed: sprite.DrawPattern(b.XPos(), b.YPos(), static_cast<std::int16_t>(b.Pattern + pulse)); break;
        case Bullet::GeneratorSpark:
            if (SceneTimer % 2 == 0) sprite.DrawSprite({b.X, b.Y, b.Rotation, EnemyPicture(b.Pattern)});
            break;
        case Bullet::Cancelled: break;
        default: sprite.DrawSprite({b.X, b.Y, b.Rotation, EnemyPicture(b.Pattern)}); break;
        }
    }
}

}  // namespace tz
