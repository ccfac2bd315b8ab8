// One tick of the effects: motion, each kind's animation and the children emitters start.
#include "game/tz_effect.h"

#include "game/tz_globals.h"
#include "game/tz_outlet.h"
#include "game/tz_patterns.h"

namespace tz {

namespace {

void NextFrame(TEffect& e) { e.Pattern = static_cast<std::int16_t>(e.Pattern + 1); }

// Smoke turns upward in the last part of its life.
void TurnUp(TEffect& e, std::int32_t step) {
    const std::uint8_t d = e.Direction();
    e.SetDirection(static_cast<std::uint8_t>(d + ((d <= 64 || d >= 192) ? -step : step)));
}

// A child effect at a point: a record of its own stands in as the source.
void SpawnAt(std::uint8_t kind, std::int32_t x, std::int32_t y) {
    TCharacter at{};
    at.SetXPos(static_cast<std::int16_t>(x));
    at.SetYPos(static_cast<std::int16_t>(y));
    SpawnEffect(kind, at, 0);
}

// An invisible emitter puffs smoke three times in its life, each time with chance 0.6.
void EmitSmoke(TEffect& e, std::int32_t timer) {
    if (timer != 10 && timer != 8 && timer != 1) return;
    if (Random() < 0.6)
        SpawnEffect(static_cast<std::uint8_t>(e.EffectKind + 2), e, e.Direction() + Random(33) - 16);
}

// A score label lingers, then flies up ever faster.
void RiseLabel(TEffect& e, std::int32_t timer) {
    if (timer == 25 || timer == 15 || timer == 5) e.Speed = static_cast<std::int16_t>(4 * e.Speed);
}

// The tumbling wreckage piece runs through its frames and back.
void Tumble(TEffect& e, std::int32_t timer) {
    if (e.Value2 != 0 && timer % e.Value2 == 0) {
        const std::int32_t next = e.Pattern + e.Value1;
        if (next == 35 || next == 42) e.Value1 = -e.Value1;
        e.Pattern = static_cast<std::int16_t>(e.Pattern + e.Value1);
    }
    if (timer == 70 || timer == 40) e.Speed = static_cast<std::int16_t>(e.Speed / 3);
}

// A boss's end: fire, smoke and wreckage for 30 ticks, then two sweeping rays of explosions.
void Explode(TEffect& e, std::int32_t timer) {
    if (timer > 70) {
        if (SceneTimer % 8 == 0) PlaySE(Sound::CrashM, 0, 0, 60 + Random(15));
        SpawnEffect(Effect::StillSmoke, e, 3840);
        SpawnEffect(Effect::Debris, e, 5120);
        SpawnEffect(Effect::Wreckage, e, 0);
        return;
    }
    if (SceneTimer == 70) {
        PlaySE(Sound::Dead, -40, 10, 40);
        PlaySE(Sound::Dead, 40, 10, 60);
    }
    if (SceneTimer % 8 == 0) PlaySE(Sound::CrashM, 0, 10, 40 + Random(15));
    if (SceneTimer % 4 == 0) {
        SpawnEffect(Effect::ExplosionRay, e, e.Value1);
        SpawnEffect(Effect::ExplosionRay, e, 128 - e.Value1);
        e.Value1 += 8;
    }
}

// An ending caption: a spark spirals in to its centre, the caption opens from the middle out
// between two lines of sparks, stays, then rises away faster and faster.
void Caption(TEffect& e, std::int32_t timer) {
    switch (e.Step) {
    case 0: {
        e.Rotation = static_cast<std::uint8_t>(e.Rotation + 8);
        e.SetDirection(static_cast<std::uint8_t>(e.Direction() + 2));
        if (e.Value1 > 0) e.Value1 -= 1;
        if (e.Value1 == 0) e.Step = 1;
        const std::int32_t x = e.XPos() + (Cos(e.Direction()) * e.Value1) / 1024 + Random(8) - 4;
        const std::int32_t y = e.YPos() + (Sin(e.Direction()) * e.Value1) / 1024 + Random(8) - 4;
        SpawnAt(Effect::CaptionSpark, x, y);
        break;
    }
    case 1: {
        e.Value1 += 4;
        const std::int32_t rx = e.XPos() + e.Value1 + Random(8) - 4;
        const std::int32_t ry = e.YPos() + Random(40) - 20;
        SpawnAt(Effect::CaptionSpark, rx, ry);
        const std::int32_t lx = e.XPos() - e.Value1 + Random(8) - 4;
        const std::int32_t ly = e.YPos() + Random(40) - 20;
        SpawnAt(Effect::CaptionSpark, lx, ly);
        if (e.Value1 >= PatternWidth(static_cast<std::int16_t>(e.Value2)) / 2) e.Step = 2;
        break;
    }
    case 2:
        if (timer == 1) {
            e.Step = 3;
            e.Timer = 999;
        }
        break;
    default: e.Fall = static_cast<std::int16_t>(e.Fall - 2); break;
    }
}

// The kind's part of the tick; timer is the life before this tick's count.
void Animate(TEffect& e, std::int32_t timer) {
    switch (static_cast<std::uint8_t>(e.EffectKind)) {
    case Effect::MuzzleFlash:
        if (timer == 3) NextFrame(e);
        break;
    case Effect::HitSpark:
        if (timer == 3 || timer == 6) NextFrame(e);
        if (timer == 4) e.Speed = 512;
        break;
    case Effect::SmokeEmitter:
    case Effect::ScatterSmokeEmitter: EmitSmoke(e, timer); break;
    case Effect::SmokePuff:
    case Effect::ScatterSmokePuff: {
        const std::int32_t p = Random(2) - timer / 5 + 3;
        e.Pattern = static_cast<std::int16_t>(p >= 4 ? -1 : 111 + p);
        if (timer == 7) e.Speed = 300;
        break;
    }
    case Effect::BeamSpark:
        if (timer == 8 || timer == 4) NextFrame(e);
        break;
    case Effect::LaserFlash:
        if (timer == 2 || timer == 1) NextFrame(e);
        break;
    case Effect::Debris:
        if (timer % 5 == 0) NextFrame(e);
        if (timer == 16 || timer == 9) e.Speed = static_cast<std::int16_t>(e.Speed / 2);
        break;
    case Effect::Sparkle:
        if (timer == 9 || timer == 6 || timer == 3) NextFrame(e);
        break;
    case Effect::Smoke:
    case Effect::StillSmoke:
        if (timer == 24 || timer == 16 || timer == 8) NextFrame(e);
        if (timer <= 25) TurnUp(e, 4);
        break;
    case Effect::ScoreLabel: RiseLabel(e, timer); break;
    case Effect::BonusLabel:
        RiseLabel(e, timer);
        // A big bonus throws sparkles: every tick at first, then every other tick.
        if (e.Value1 > 500 && (timer > 120 || (timer > 100 && timer % 2 == 0))) SpawnEffect(Effect::Sparkle, e, 512);
        break;
    case Effect::Wreckage: Tumble(e, timer); break;
    case Effect::Shard:
        if (timer % 10 == 0) NextFrame(e);
        break;
    case Effect::BigExplosion: Explode(e, timer); break;
    case Effect::ExplosionRay:
        if (timer % 3 == 0) SpawnEffect(Effect::StillSmoke, e, 1280);
        SpawnEffect(Effect::Debris, e, 1920);
        break;
    case Effect::CaptionFromBelow:
    case Effect::CaptionFromAbove: Caption(e, timer); break;
    case Effect::CaptionSpark:
        e.Rotation = static_cast<std::uint8_t>(e.Rotation + 5);
        if (timer == 40 || timer == 20) NextFrame(e);
        break;
    default: break;  // the falling arrow only moves
    }
}

}  // namespace

void MoveEffects() {
    for (TEffect& e : Effects) {
        if (e.Index <= 0) continue;
        const std::uint8_t dir = e.Direction();
        e.X = WrapAdd(e.X, WrapMul(Cos(dir), e.Speed));
        e.Y = WrapAdd(e.Y, WrapAdd(WrapMul(Sin(dir), e.Speed), e.Fall * 2048));
        Animate(e, e.Timer);
        e.Timer -= 1;
        if (e.YPos() > 600 || e.YPos() < -120 || e.Timer <= 0) e.Index = -1;
    }
}

}  // namespace tz
