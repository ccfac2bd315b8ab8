// The flight of the enemy bullets, the spark generators and the test against the ship.
#include "game/tz_enemymissile.h"

#include "game/tz_check.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"

namespace tz {

namespace {

void SlowTo128(TEnemyShot& b) {
    if (b.Speed > 128) b.Speed = static_cast<std::int16_t>(b.Speed - 4);
}

// A generator sheds one spark a tick along its course, in a spread that widens as it ages
// (every generator of a tick draws from the same seed). One fired straight down ends after
// its 40 ticks; an aimed one flies on until it leaves the area.
void FlyGenerator(TEnemyShot& b, std::int32_t t) {
    RandSeed = static_cast<std::uint32_t>(SceneTimer) * 947u;
    std::int32_t spread;
    if (t < 0)
        spread = Random(32) - 16;
    else if (t > 19)
        spread = Random(16) - 8;
    else
        spread = Random(24) - 12;
    SpawnEnemyShot(Bullet::GeneratorSpark, b, b.Direction() + spread);
    if (t == 20) b.Speed = 256;
    if (t == 15) b.Speed = 700;
    if (t < 0 && b.BulletParam == 0) b.BulletKind = Bullet::Cancelled;
}

// A spark drifts, darts off at half its life and flickers through the lightning frames.
void FlySpark(TEnemyShot& b, std::int32_t t) {
    if (t == 10) b.Speed = 512;
    if (t < 0) b.BulletKind = Bullet::Cancelled;
    RandSeed = static_cast<std::uint32_t>(SceneTimer);
    b.Pattern = static_cast<std::int16_t>(111 + Random(4));
}

// The side gunship's beam: it curves away from the side of its parameter for 20 ticks, then
// speeds up and brightens twice.
void FlyCurving(TEnemyShot& b, std::int32_t t) {
    b.Rotation = b.Direction();
    if (t >= 0 && t < 20) b.SetDirection(static_cast<std::uint8_t>(b.Direction() + b.BulletParam));
    if (t < 0 && b.Speed < 400) b.Speed = static_cast<std::int16_t>(b.Speed + 20);
    if (t == 0 || t == -20) b.Pattern += 1;
}

// The kinds' own flight after the move; false when the bullet has ended.
bool Fly(TEnemyShot& b, std::int32_t t) {
    switch (b.BulletKind) {
    case Bullet::AimedSlowing: SlowTo128(b); break;
    case Bullet::Spinning:
        b.Rotation = static_cast<std::uint8_t>(4 * SceneTimer);
        SlowTo128(b);
        break;
    case Bullet::Turning: b.Rotation = static_cast<std::uint8_t>(b.Rotation + 4); break;
    case Bullet::BeamSegment:
        if (t < 1) return false;
        break;
    case Bullet::Curving: FlyCurving(b, t); break;
    case Bullet::Generator: FlyGenerator(b, t); break;
    case Bullet::GeneratorSpark: FlySpark(b, t); break;
    case Bullet::Spread: b.Pattern = static_cast<std::int16_t>(246 + Random(3)); break;
    default: break;
    }
    return true;
}

bool OutOfArea(const TEnemyShot& b) {
    return b.YPos() > 500 || b.YPos() < -20 || b.XPos() > 660 || b.XPos() < -20;
}

}  // namespace

bool BulletNearShip(const TEnemyShot& b) {
    return GetDistance(MyShip.XPos() - b.XPos(), MyShip.YPos() - b.YPos()) < ShipTestDistance;
}

void MoveEnemyShots() {
    for (TEnemyShot& b : EnemyShots) {
        if (b.Index <= 0) continue;
        b.Timer -= 1;
        const std::uint8_t dir = b.Direction();
        b.X = WrapAdd(b.X, WrapMul(Cos(dir), b.Speed));
        b.Y = WrapAdd(b.Y, WrapMul(Sin(dir), b.Speed));
        if (!Fly(b, b.Timer) || OutOfArea(b) || b.BulletKind == Bullet::Cancelled) {
            b.Index = -1;
            continue;
        }
        // A bullet flies on whatever the hit rules decide.
        if (MyShip.Index > 0 && BulletNearShip(b)) {
            std::uint8_t flags = 0;
            CheckHit(b, MyShip, flags);
        }
    }
}

}  // namespace tz
