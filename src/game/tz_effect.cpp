#include "game/tz_effect.h"

#include "game/tz_globals.h"

namespace tz {

namespace {

// X and Y move once along Direction by m (in 1/64 pixel).
void Momentum(TEffect& e, std::int32_t m) {
    const std::uint8_t d = e.Direction();
    e.X = WrapAdd(e.X, WrapMul(Cos(d), m));
    e.Y = WrapAdd(e.Y, WrapMul(Sin(d), m));
}

void Set(TEffect& e, std::int32_t speed, std::int16_t pattern, std::int32_t direction, std::int32_t timer) {
    e.Speed = static_cast<std::int16_t>(speed);
    e.Pattern = pattern;
    e.SetDirection(static_cast<std::uint8_t>(direction));
    e.Timer = timer;
}

// The kinds' start values. Fields a kind does not name keep what the record last held.
// Random numbers are drawn in the order speed, direction, life, then the rest.
void Start(TEffect& e, std::uint8_t kind, std::uint8_t h, std::int32_t param) {
    switch (kind) {
    case Effect::MuzzleFlash:
        Set(e, 64, 1, 192, 5);
        e.Rotation = 0;
        break;
    case Effect::HitSpark:
        e.Speed = 64;
        e.Pattern = 3;
        e.SetDirection(static_cast<std::uint8_t>(Random(128)));
        e.Rotation = static_cast<std::uint8_t>(e.Direction() - 64);
        e.Timer = 9;
        break;
    case Effect::SmokeEmitter:
    case Effect::ScatterSmokeEmitter:
        Set(e, 0, -1, param, 10);
        e.Rotation = 0;
        break;
    case Effect::SmokePuff:
    case Effect::ScatterSmokePuff:
        Set(e, 64, 111, param, 19);
        e.Rotation = static_cast<std::uint8_t>(param);
        if (kind == Effect::ScatterSmokePuff) {
            e.SetXPos(static_cast<std::int16_t>(e.XPos() + Random(32) - 16));
            e.SetYPos(static_cast<std::int16_t>(e.YPos() + Random(64) - 32));
        }
        break;
    case Effect::BeamSpark: {
        e.Speed = 128;
        e.Pattern = 118;
        e.SetDirection(static_cast<std::uint8_t>(param + Random(128) - 64));
        e.Rotation = e.Direction();
        e.Timer = 12;
        break;
    }
    case Effect::LaserFlash:
        Set(e, 128, 121, 192, 2);
        e.Rotation = 0;
        break;
    case Effect::Debris: {
        const std::int32_t speed = 64 + Random(200);
        Set(e, speed, 145, h + Random(192) - 96, 29);
        e.Rotation = 0;
        Momentum(e, param + 2 * e.Speed);
        e.Fall = 256;
        break;
    }
    case Effect::Sparkle: {
        const std::int32_t speed = 128 + Random(128);
        Set(e, speed, 6, Random(256), 12);
        e.Rotation = e.Direction();
        Momentum(e, param + 2 * e.Speed);
        break;
    }
    case Effect::Smoke:
    case Effect::StillSmoke: {
        const std::int32_t speed = 64 + Random(128);
        const std::int32_t direction = Random(256);
        Set(e, speed, 158, direction, 28 + Random(16));
        e.Rotation = 0;
        e.X = WrapAdd(e.X, WrapMul(Random(param), Cos(e.Direction())));
        e.Y = WrapAdd(e.Y, WrapMul(Random(param), Sin(e.Direction())));
        if (kind == Effect::Smoke) e.Fall = 256;
        break;
    }
    case Effect::ScoreLabel:
        Set(e, 4, static_cast<std::int16_t>(param), 192, 100);
        e.Rotation = 0;
        break;
    case Effect::BonusLabel:
        e.Speed = 4;
        e.SetDirection(192);
        e.Rotation = 0;
        e.Timer = 150;
        e.Value1 = param;
        e.Value2 = BonusRate;
        break;
    case Effect::FallingArrow:
        Set(e, 400, 35, 64, 20);
        e.Rotation = 0;
        break;
    case Effect::Wreckage: {
        const std::int32_t speed = 100 + Random(200);
        Set(e, speed, 36, h + 32 + Random(192), 100);
        e.Rotation = 0;
        Momentum(e, param);
        e.Value1 = 1;
        e.Value2 = 1 + Random(4);
        e.Fall = 96;
        break;
    }
    case Effect::Shard:
        Set(e, 300, 42, h + 64 + Random(128), 49);
        e.Rotation = 0;
        e.Fall = 128;
        break;
    case Effect::BigExplosion:
        e.Speed = 0;
        e.Pattern = -1;
        e.Timer = 100;
        e.Value1 = 0;
        break;
    case Effect::ExplosionRay:
        Set(e, 512, -1, param, 40);
        break;
    case Effect::CaptionFromBelow:
    case Effect::CaptionFromAbove:
        e.Speed = 0;
        e.SetDirection(kind == Effect::CaptionFromBelow ? 192 : 64);
        e.Timer = kind == Effect::CaptionFromBelow ? 650 : 610;
        e.Value2 = param;  // the caption's pattern
        e.Value1 = 300;    // the spark's distance, then half the revealed width
        e.Step = 0;
        break;
    case Effect::CaptionSpark:
        e.Speed = 128;
        e.Pattern = 51;
        e.SetDirection(64);
        e.Timer = 60 - Random(10);
        break;
    default:  // an unknown kind lives one tick and shows nothing
        e.Speed = 0;
        e.Pattern = -1;
        e.Timer = 1;
        break;
    }
}

}  // namespace

void SpawnEffect(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param) {
    for (TEffect& e : Effects) {
        if (e.Index >= 0) continue;
        // Source may be a record of this table (an emitter): take what is needed first.
        const std::int16_t x = Source.XPos(), y = Source.YPos();
        const std::uint8_t h = Source.Direction();
        e.EffectKind = Kind;
        e.SetXPos(x);
        e.SetYPos(y);
        e.Index = 1;
        e.Fall = 0;
        Start(e, Kind, h, Param);
        return;
    }
}

}  // namespace tz
