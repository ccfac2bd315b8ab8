// The objects of the list: the ship with its weapon parts, its shots, the enemies, bosses and
// items, each with its flash and its kind's extras.
#include "game/tz_draw.h"

#include "engine/pen.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {

namespace {

void DrawOwnShip(engine::TSpriteEx& sprite, const TMyShip& ship) {
    if (ship.Pattern < 0) return;
    engine::TPen pen(sprite);
    pen.SetMode((ship.Invincible > 0 && RefreshCount % 8 == 0) ? engine::TDrawMode::Flash : engine::TDrawMode::Plain);
    const std::int16_t x = ship.XPos();
    const std::int16_t y = ship.YPos();
    // Weapon parts under the ship.
    if (ship.Weapon == 1) sprite.DrawPattern(x, y, 97);
    if (ship.Weapon == 4) sprite.DrawPattern(x, y, 102);
    sprite.DrawPattern(x, y, ship.Pattern);
    // Weapon parts over it.
    switch (ship.Weapon) {
        case 0: sprite.DrawPattern(x, y, 95); sprite.DrawPattern(x, y, 96); break;
        case 2: sprite.DrawPattern(x, y, 98); sprite.DrawPattern(x, y, 99); break;
        case 3: sprite.DrawPattern(x, y, 100); sprite.DrawPattern(x, y, 101); break;
        default: break;
    }
}

// The two halves of a weapon item orbit its centre on a 16 x 8 ellipse, half a turn apart.
void DrawItemHalves(engine::TSpriteEx& sprite, const TEnemy& item, std::int16_t second) {
    const std::int16_t x = item.XPos();
    const std::int16_t y = item.YPos();
    std::uint8_t r = item.Rotation;
    sprite.DrawPattern(static_cast<std::int16_t>(x + Cos(r) / 64), static_cast<std::int16_t>(y + Sin(r) / 128), item.Pattern);
    r = static_cast<std::uint8_t>(r + 128);
    sprite.DrawPattern(static_cast<std::int16_t>(x + Cos(r) / 64), static_cast<std::int16_t>(y + Sin(r) / 128), second);
}

void DrawEnemy(engine::TSpriteEx& sprite, const TEnemy& e) {
    const bool flashFrame = e.SubType == EnemyKind::FinalBoss ?  // the final boss flashes more slowly
                                  RefreshCount % 32 == 0 : RefreshCount % 4 == 0;
    engine::TPen pen(sprite);
    pen.SetMode(e.Flash > 0 && flashFrame ? engine::TDrawMode::Flash : engine::TDrawMode::Plain);
    const std::int16_t x = e.XPos();
    const std::int16_t y = e.YPos();
    auto at = [&](int dx, int dy, int pattern) {
        sprite.DrawPattern(static_cast<std::int16_t>(x + dx), static_cast<std::int16_t>(y + dy),
                           static_cast<std::int16_t>(pattern));
    };
    switch (e.SubType) {
        case EnemyKind::GunPod:
            at(-12, 0, e.Pattern + 1);
            at(13, 0, e.Pattern + 2);
            at(0, 0, e.Pattern);
            break;
        case EnemyKind::WeaponItem:  // weapon item, by the weapon it carries
            if (e.Work3 == 0 || e.Work3 == 2 || e.Work3 == 3) {
                DrawItemHalves(sprite, e, static_cast<std::int16_t>(e.Pattern + 1));
            } else if (e.Work3 == 1) {
                DrawItemHalves(sprite, e, 109);
            } else if (e.Work3 == 4) {
                at(0, 0, e.Pattern);
            }
            break;
        case EnemyKind::MineLayer:
            for (std::int32_t k = 1; k <= e.Work4; ++k) at(24 * k - 60, -40, 231 + k / 3);
            at(0, 0, e.Pattern);
            break;
        case EnemyKind::HomingMine: sprite.DrawSprite(e.SpriteRec()); break;
        case EnemyKind::Stage2Boss: {
            at(0, 0, e.Pattern);
            auto r = [] { return DrawRandom.Random(8); };
            at(-75 + r(), 4, 235);
            at(-70 + r(), 26, 235);
            { const int s = r(); at(-45, 38 + s, 235); }
            at(75 + r(), 4, 236);
            at(70 - r(), 26, 236);
            { const int s = r(); at(45, 38 + s, 236); }
            break;
        }
        case EnemyKind::ShardMidBoss:
            if (e.State == TPhase::phEnter) {
                const int s = (RefreshCount % 2 != 0) ? 1 : -1;
                at(static_cast<std::int16_t>(4 * e.Timer * s), 0, e.Pattern);
            } else {
                at(0, 0, e.Pattern);
            }
            break;
        default: at(0, 0, e.Pattern); break;
    }
}

}  // namespace

void DrawCharacter(TCharacter& ownObject) {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    switch (ownObject.CharType) {
        case TCharType::ctOwnShip: DrawOwnShip(sprite, static_cast<const TMyShip&>(ownObject)); break;
        case TCharType::ctOwnShot: sprite.DrawSprite(ownObject.SpriteRec()); break;
        case TCharType::ctEnemy:
        case TCharType::ctDying: DrawEnemy(sprite, static_cast<const TEnemy&>(ownObject)); break;
        default: break;
    }
}

}  // namespace tz
