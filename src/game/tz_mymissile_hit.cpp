// A player shot's own reaction when it strikes an enemy; the damage to the enemy and its push
// are the hit rules' (tz_check.cpp).
#include "game/tz_check.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_mymissile.h"
#include "game/tz_outlet.h"

namespace tz {

namespace {

void Sparks(TMyShot& s, std::uint8_t kind, int count, std::int32_t param) {
    for (int i = 0; i < count; ++i) SpawnEffect(kind, s, param);
}

// The direction from the enemy's centre to the shot: the way a glancing shot is thrown off.
std::uint8_t AwayFrom(const TEnemy& e, const TMyShot& s) {
    return GetDirection(s.XPos() - e.XPos(), s.YPos() - e.YPos());
}

}  // namespace

void ShotStrikes(TMyShot& Shot, const TEnemy& Target) {
    Shot.Pierce = static_cast<std::int8_t>(Shot.Pierce - 1);
    Shot.LastHit = static_cast<std::int16_t>(&Target - Enemies.data());
    const std::int32_t pan = PanOf(Shot);
    switch (static_cast<TShotKind>(Shot.ShotKind)) {
    case TShotKind::Valcan:
        PlaySE(Sound::ValcanHit, pan, 0, 110);
        Sparks(Shot, Effect::HitSpark, 4, 0);
        SpawnEffect(Effect::Shard, Shot, 0);
        if (Random() < 0.6) SpawnEffect(Effect::Wreckage, Shot, 0);
        break;
    case TShotKind::Canon:
        // Deflected halfway off the enemy, slowed, and set to burst within 10 ticks.
        Shot.SetDirection(static_cast<std::uint8_t>(Shot.Direction() + SignedTurn(Shot.Direction(), AwayFrom(Target, Shot)) / 2));
        Shot.Speed = static_cast<std::int16_t>(Shot.Speed / 2);
        Shot.Timer = 10;
        Sparks(Shot, Effect::HitSpark, 4, 0);
        SpawnEffect(Effect::Shard, Shot, 0);
        break;
    case TShotKind::Thunder:
        Shot.LastHit = -1;  // it may strike the same enemy again on the next tick
        SpawnEffect(Effect::Shard, Shot, 0);
        break;
    case TShotKind::Beam:
        PlaySE(Sound::BeamHit, pan, 0, 170 + Random(5));
        Shot.SetDirection(static_cast<std::uint8_t>(Shot.Direction() + SignedTurn(Shot.Direction(), AwayFrom(Target, Shot)) / 4));
        Shot.Speed = static_cast<std::int16_t>(Shot.Speed / 4);
        Sparks(Shot, Effect::BeamSpark, 4, Shot.Direction());
        SpawnEffect(Effect::Shard, Shot, 0);
        Shot.Pattern = 116;
        Shot.Timer = 89;
        break;
    case TShotKind::Laser:
        PlaySE(Sound::BeamHit, pan, -3, 130 + Random(10));
        Sparks(Shot, Effect::BeamSpark, 6, 64);
        SpawnEffect(Effect::Shard, Shot, 0);
        break;
    case TShotKind::Fragment:
        PlaySE(Sound::ValcanHit, pan, -5, 100);
        Shot.SetDirection(AwayFrom(Target, Shot));
        SpawnEffect(Effect::Shard, Shot, 0);
        break;
    }
}

}  // namespace tz
