// Kind 24: the mid-boss that teleports. It appears shaking, fires two pairs of spreading
// sweeps, dashes to a side edge, crosses the field throwing shards up or firing a beam in
// three bands, and reappears somewhere in the upper field to start again.
#include "game/tz_enemy_boss.h"

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemy_common.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

// Its attack steps (Work3).
constexpr std::int32_t Sweeping = 1, Dashing = 2, Crossing = 3;

// A bullet of speed step Step along a direction byte.
std::int32_t Graded(std::int32_t Direction, std::int32_t Step) { return (Direction & 255) + 256 * Step; }

void StepSweep(TEnemy& e) {
    if (e.Timer == 30) {
        PlaySE(Sound::SuperShot, 30, 0, 50);
        PlaySE(Sound::SuperShot, -30, 0, 54);
    }
    if (e.Timer < 30) {
        const std::int32_t w = e.Work4;
        SpawnEnemyShot(Bullet::Graded, e, Graded(195 + 2 * w, 5 * w));
        SpawnEnemyShot(Bullet::Graded, e, Graded(189 - 2 * w, 5 * w));
        SpawnEnemyShot(Bullet::Graded, e, Graded(224 + 5 * w, 3 * w));
        SpawnEnemyShot(Bullet::Graded, e, Graded(160 - 5 * w, 3 * w));
        e.Work4 += 2;
    }
    if (e.Timer < 0) {
        e.Work3 = Dashing;
        e.SetDirection(e.XPos() < MyShip.XPos() ? 128 : 0);
        e.Speed = 1024;
    }
}

void StepDash(TEnemy& e) {
    SpawnEffect(Effect::ScatterSmokeEmitter, e, Random(128) + e.Direction() + 64);
    if (e.XPos() <= 19 || e.XPos() >= 621) {
        e.Work3 = Crossing;
        RandSeed = static_cast<std::uint32_t>(SceneTimer);
        e.Work4 = Random(2);  // 0: the beam, otherwise shards
        e.Timer = 30;
        e.SetDirection(e.XPos() > 319 ? 120 : 8);
        e.Speed = 256;
        e.Pattern = 208;
    }
}

void StepCross(TEnemy& e) {
    if (e.Timer < 1 && ((e.XPos() / 32) & 7) < 3) {
        if (e.Work4 != 0) {
            if (SceneTimer % 2 == 0) {
                PlaySE(Sound::Fire, PanOf(e), 5, 50 + Random(20));
                RandSeed = static_cast<std::uint32_t>(SceneTimer) * 78595u;
                SpawnFromScratch(e.XPos(), e.YPos(), EnemyKind::Shard, 160 + Random(64));  // thrown upward
                SpawnedCount += 1;
            }
        } else {
            SpawnEnemyShot(Bullet::BeamSegment, e, 20);
            if ((e.Timer & 3) == 0) PlaySE(Sound::Laser, PanOf(e), -MyShip.Charge / 8, 80);
        }
    }
    if ((e.XPos() < 20 || e.XPos() > 620) && e.Timer <= 0) {
        // Off the far side: it reappears in the upper field, shaking, to start again.
        e.Pattern = 207;
        RandSeed = static_cast<std::uint32_t>(SceneTimer);
        const std::int32_t r1 = Random(80);
        const std::int32_t r2 = Random(320);
        UnitList.MoveCharacter(e, (160 + r2 - e.XPos()) * 65536, (40 + r1 - e.YPos()) * 65536, 0);
        e.Speed = 0;
        e.Timer = 70;
        e.State = TPhase::phEnter;
    }
}

}  // namespace

void StartShardMidBoss(TEnemy& e, std::int32_t) {
    e.SetXPos(320);
    e.SetYPos(180);
    PlaySE(Sound::WindS, 0, 0, 90 + Random(10));
}

void StepShardMidBoss(TEnemy& e) {
    if (e.State == TPhase::phEnter) {
        if (e.Timer < 0) {
            e.State = TPhase::phAttack;
            e.Work3 = Sweeping;
            e.Timer = 70;
            e.Work4 = 0;
        }
        return;
    }
    if (e.State != TPhase::phAttack) return;
    switch (e.Work3) {
    case Sweeping: StepSweep(e); break;
    case Dashing: StepDash(e); break;
    case Crossing: StepCross(e); break;
    default: break;
    }
}

// The Laser item, a big explosion and a quake; no score.
void WreckShardMidBoss(TEnemy& e) {
    SpawnFromScratch(e.XPos(), e.YPos(), EnemyKind::WeaponItem, 4);
    SpawnEffect(Effect::BigExplosion, e, 0);
    FinishWreck(e, 1, 0, true);
    MyShip.QuakeTimer = 40;
}

}  // namespace tz
