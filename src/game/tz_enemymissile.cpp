#include "game/tz_enemymissile.h"

#include "game/tz_check.h"
#include "game/tz_gamemain.h"

namespace tz {


// The shared part of every bullet: the circular slot search, position and type. The kinds'
// own start values and flight come with the bullets themselves.
void SpawnEnemyShot(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param) {
    (void)Param;
    for (int probe = 0; probe < EnemyShotCount; ++probe) {
        EnemyShotNext = (EnemyShotNext + 1) % EnemyShotCount;
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(EnemyShotNext)];
        if (b.Index > 0) continue;
        b.BulletKind = Kind;
        b.X = WithWholePart(b.X, Source.XPos());
        b.Y = WithWholePart(b.Y, Source.YPos());
        b.CharType = TCharType::ctEnemyShot;
        b.Index = 1;
        return;
    }
}

void MoveEnemyShots() {
    for (TEnemyShot& b : EnemyShots) {
        if (b.Index <= 0) continue;
        b.Timer -= 1;
        const std::uint8_t dir = b.Direction();
        b.X = WrapAdd(b.X, WrapMul(Cos(dir), b.Speed));
        b.Y = WrapAdd(b.Y, WrapMul(Sin(dir), b.Speed));
        if (b.YPos() > 500 || b.YPos() < -20 || b.XPos() > 660 || b.XPos() < -20 || b.BulletKind == BulletCancelled) {
            b.Index = -1;
            continue;
        }
        if (MyShip.Index > 0 && GetDistance(MyShip.XPos() - b.XPos(), MyShip.YPos() - b.YPos()) < 20) {
            std::uint8_t flags = 0;
            CheckHit(b, MyShip, flags);
        }
    }
}

}  // namespace tz
