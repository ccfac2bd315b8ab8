// Kind 7: the mid-boss with a beam. It dives through the field, rises again at the centre,
// and three times charges, dashes to the ship's column and fires a beam straight down;
// then it leaves for the top centre spraying bullets. Its hits score (the hit rules), its
// destruction does not.
#include "game/tz_enemy_boss.h"

#include <cstdlib>

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemy_common.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"

namespace tz {

namespace {

// Its attack steps (Work3).
constexpr std::int32_t Rising = 1, Charging = 2, Dashing = 3, Firing = 4, Leaving = 5;

void Exhaust(TEnemy& e) { SpawnEffect(Effect::ScatterSmokeEmitter, e, Random(128) + e.Direction() + 64); }

void StepCharge(TEnemy& e) {
    if (e.Timer < 20) AddSpeed(e, -12);
    if (e.Timer == 30 || e.Timer == 20 || e.Timer == 10) e.Pattern += 1;
    if (e.Timer <= 0) {
        e.Work3 = Dashing;
        e.Work5 = MyShip.XPos() < e.XPos() ? -1 : 1;  // the ship's side
        SetHeading(e, 64 - 62 * e.Work5);
        e.Speed = 1024;
        PlaySE(Sound::Accel, PanOf(e), 0, 100);
    }
}

// The beam: one segment a tick for 30 ticks, each living a tick longer than the last.
void StepFire(TEnemy& e) {
    if (e.Timer > 20) Exhaust(e);
    if (e.Timer > 0 && e.Timer <= 30) {
        e.Work5 += 1;
        SpawnEnemyShot(Bullet::BeamSegment, e, e.Work5);
        if ((e.Timer & 3) == 0) PlaySE(Sound::Laser, PanOf(e), -MyShip.Charge / 8, 80);
    }
    if (e.Timer < 1) e.Speed = 16;
    if (e.Timer < -30) {
        e.Pattern = 207;
        if (e.Work4 > 1) {
            e.Work3 = Leaving;
            e.Timer = 60;
            e.SetDirection(GetDirection(320 - e.XPos(), -e.YPos()));
        } else {
            e.Work3 = Charging;
            e.Work4 += 1;
            e.Speed = 0;
            e.Timer = 0;
        }
    }
}

void StepLeave(TEnemy& e) {
    if (e.Timer == 30 || e.Timer == 20 || e.Timer == 10) e.Pattern -= 1;
    if (e.Timer == 0) {
        PlaySE(Sound::SuperShot, 30, 0, 50);
        PlaySE(Sound::SuperShot, -30, 0, 54);
    }
    if (e.Timer < 0 && e.YPos() > 60) {
        e.Work4 += 83;
        SpawnEnemyShot(Bullet::Directed, e, e.Work4);
        SpawnEnemyShot(Bullet::Directed, e, -e.Work4);
    }
    if (e.Timer < -29) {
        if (e.Timer == -30) PlaySE(Sound::Wind, PanOf(e), 0, 80);
        AddSpeed(e, 10);
    }
}

}  // namespace

void StartBeamMidBoss(TEnemy& e, std::int32_t) {
    SetHeading(e, 64 - 8 * Sign(MyShip.XPos() - e.XPos()));
    PlaySE(Sound::Wind, PanOf(e), 0, 50 + Random(10));
    e.Work3 = 0;
}

void StepBeamMidBoss(TEnemy& e) {
    if (e.State == TPhase::phEnter) {
        if (e.YPos() >= 541) {
            e.State = TPhase::phAttack;
            e.Timer = 90;
            e.Work3 = Rising;
            e.Speed = 0;
        }
        return;
    }
    if (e.State != TPhase::phAttack) return;
    switch (e.Work3) {
    case Rising:
        e.Pattern = 204;
        if (e.Timer < 1) {
            e.SetXPos(320);
            e.Work3 = Charging;
            e.Work4 = 0;  // beams fired
            e.SetDirection(192);
            e.Speed = 256;
            e.Timer = 100;
        }
        break;
    case Charging: StepCharge(e); break;
    case Dashing:
        Exhaust(e);
        if (std::abs(MyShip.XPos() - e.XPos()) <= 31) {
            e.Work3 = Firing;
            e.Speed = 64;
            e.Timer = 50;
            e.Work5 = 2;  // life of the first beam segment, less one
            e.Pattern = 208;
        }
        break;
    case Firing: StepFire(e); break;
    case Leaving: StepLeave(e); break;
    default: break;
    }
}

// The Laser item, a heavy crash and smoke, sparkles and a quake; no score.
void WreckBeamMidBoss(TEnemy& e) {
    SpawnFromScratch(e.XPos(), e.YPos(), EnemyKind::WeaponItem, 4);
    PlaySE(Sound::CrashM, PanOf(e), e.YPos() / 100 + 5, 60);
    for (int k = 0; k < 12; ++k) SpawnEffect(Effect::Smoke, e, 1920);
    for (int k = 0; k < 2; ++k) SpawnEffect(Effect::Sparkle, e, 1280);
    FinishWreck(e, 1, 0, true);
    MyShip.QuakeTimer = 70;
}

}  // namespace tz
