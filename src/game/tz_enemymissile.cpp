#include "game/tz_enemymissile.h"

#include <cstdlib>

#include "game/tz_gamemain.h"

namespace tz {

namespace {

// The arm guns of the stage-2 boss, by the size of the parameter (1..3): how far the
// bullet turns from straight down, and where on the arm it starts.
struct TArmGun {
    std::int32_t Turn, DX, DY;
};
constexpr std::array<TArmGun, 3> ArmGuns = {{{32, 113, 138}, {16, 138, 126}, {-8, 143, 104}}};

std::uint8_t Aim(const TEnemyShot& b) { return GetDirection(MyShip.XPos() - b.XPos(), MyShip.YPos() - b.YPos()); }

// Moves the start of a bullet by (Cos, Sin)(Direction) / Divisor whole pixels.
void Offset(TEnemyShot& b, std::int32_t Direction, std::int32_t Divisor) {
    const std::uint8_t d = static_cast<std::uint8_t>(Direction);
    b.SetXPos(static_cast<std::int16_t>(b.XPos() + Cos(d) / Divisor));
    b.SetYPos(static_cast<std::int16_t>(b.YPos() + Sin(d) / Divisor));
}

void Head(TEnemyShot& b, std::int32_t Direction, std::int32_t Speed, std::int16_t Pattern) {
    b.SetDirection(static_cast<std::uint8_t>(Direction));
    b.Rotation = b.Direction();
    b.Speed = static_cast<std::int16_t>(Speed);
    b.Pattern = Pattern;
}

// The kinds' start values. Blank fields of a kind (Timer of most, Rotation of the generator)
// keep what the slot held last.
void StartBullet(TEnemyShot& b, std::int32_t Param) {
    switch (b.BulletKind) {
    case Bullet::Falling: Head(b, 64 - 2 * Sign(320 - b.XPos()), 160, 124); break;
    case Bullet::Aimed:
        Head(b, Aim(b), 256, 124);
        b.Rotation = 0;
        break;
    case Bullet::AimedSlowing: {
        const std::uint8_t aim = Aim(b);
        Head(b, aim, 300, 127);
        Offset(b, aim + Param, 256);  // 4 pixels to the side of Param
        break;
    }
    case Bullet::Spinning: Head(b, Aim(b) + Param, 300, 126); break;
    case Bullet::Directed: Head(b, Param, 256, 127); break;
    case Bullet::Turning: Head(b, Param + 64, 192, 126); break;
    case Bullet::BeamSegment:
        Head(b, 64, 1400, 121);
        b.Rotation = 0;
        b.Timer = Param;
        break;
    case Bullet::Curving:
        Head(b, Aim(b) + Param, 128, 115);
        b.Timer = 25;
        b.BulletParam = 5 * Sign(-Param);
        break;
    case Bullet::Ring:
        Head(b, Param / 256, 360, 127);
        b.Timer = 30;
        Offset(b, (Param & 255) + Param / 256, 128);  // 8 pixels out
        break;
    case Bullet::Generator:
        b.SetDirection(Param != 0 ? Aim(b) : 64);
        b.Speed = 64;
        b.Pattern = -1;
        b.Timer = 40;
        b.BulletParam = Param;
        break;
    case Bullet::GeneratorSpark:
        Head(b, Param & 255, 32, 111);
        b.Timer = 20;
        break;
    case Bullet::Graded: Head(b, Param & 255, 128 + Param / 256, 127); break;
    case Bullet::AimedFast:
        Head(b, Aim(b), 128 + 16 * Param, 124);
        b.Rotation = 0;
        break;
    case Bullet::Spread:
        Head(b, 64 + 12 * Param, 230, 246);
        b.Rotation = static_cast<std::uint8_t>(12 * Param);
        break;
    case Bullet::SideSpark: {
        // Only parameters of size 1..3 are used; larger ones take the outermost gun.
        const std::int32_t side = Sign(Param);
        const std::int32_t size = std::abs(Param);
        const TArmGun gun = size == 0 ? TArmGun{0, 0, 0} : ArmGuns[static_cast<std::size_t>(size > 3 ? 2 : size - 1)];
        Head(b, 64 + side * gun.Turn, 200, 237);
        b.Rotation = static_cast<std::uint8_t>(b.Direction() - 64);
        b.SetXPos(static_cast<std::int16_t>(b.XPos() + side * gun.DX));
        b.SetYPos(static_cast<std::int16_t>(b.YPos() + gun.DY));
        break;
    }
    default: break;
    }
}

}  // namespace

std::int32_t SpawnEnemyShotAt(std::uint8_t Kind, std::int16_t X, std::int16_t Y, std::int32_t Param) {
    for (int probe = 0; probe < EnemyShotCount; ++probe) {
        EnemyShotNext = (EnemyShotNext + 1) % EnemyShotCount;
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(EnemyShotNext)];
        if (b.Index > 0) continue;
        b.BulletKind = Kind;
        b.SetXPos(X);
        b.SetYPos(Y);
        b.CharType = TCharType::ctEnemyShot;
        b.Index = 1;
        StartBullet(b, Param);
        return EnemyShotNext;
    }
    return -1;
}

std::int32_t SpawnEnemyShot(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param) {
    return SpawnEnemyShotAt(Kind, Source.XPos(), Source.YPos(), Param);
}

}  // namespace tz
