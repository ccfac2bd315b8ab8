#include "game/tz_enemy_fighters.h"

#include "game/tz_enemy_common.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"

namespace tz {

// Enters diagonally toward the centre line and bends down.
void StartSwoopingFighter(TEnemy& e, std::int32_t) {
    SetHeading(e, 64 + 40 * Sign(e.XPos() - 320));
    PlaySE(Sound::WindS, PanOf(e), -10, 100 + Random(10));
}

// Dives, slowing twice, stops and turns up toward the centre, then climbs away firing: in
// stage 1 bullets that fall nearly straight every 8 ticks, later aimed ones every 16 ticks
// while it is well inside the top of the field.
void StepSwoopingFighter(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        TurnBy(e, e.Direction() <= 64 ? 80 : -80);
        if (e.Timer == 40 || e.Timer == 20) e.Speed = static_cast<std::int16_t>(e.Speed / 2);
        if (e.Timer == 30 || e.Timer == 15 || e.Timer == 0) e.Pattern += 1;
        if (e.Timer == 0) {
            SetHeading(e, -64 - 48 * Sign(e.XPos() - 320));
            e.Speed = 0;
        }
        if (e.Timer < 0) {
            e.State = TPhase::phLeave;
            PlaySE(Sound::WindS, PanOf(e), -5, 80 + Random(10));
        }
        break;
    case TPhase::phLeave:
        RaiseSpeed(e, 15, 600);
        TurnBy(e, e.Direction() < 193 ? 50 : -50);
        if (StageNo == 1) {
            if (e.Timer % 8 == 0) SpawnEnemyShot(Bullet::Falling, e, 0);
        } else if (e.Timer % 16 == 0 && e.XPos() > 20 && e.XPos() < 620 && e.YPos() > 40 && e.YPos() < 200) {
            SpawnEnemyShot(Bullet::Aimed, e, 0);
        }
        break;
    default: break;
    }
}

void StartDiver(TEnemy& e, std::int32_t) {
    SetHeading(e, 64 + 8 * Sign(e.XPos() - 320));
    PlaySE(Sound::WindS, PanOf(e), -10, 130 + Random(10));
    e.Work3 = 3;  // dashes left
}

// Up to three dashes, each braking to a halt and firing three pairs of bullets; a dash ends
// early when the ship comes close. After the last it climbs away.
void StepDiver(TEnemy& e) {
    e.Pattern = static_cast<std::int16_t>(136 + (((AngleToShip(e) + 16) / 32) & 7));
    switch (e.State) {
    case TPhase::phEnter:
        if (e.Timer == 50 || e.Timer == 30 || e.Timer == 10) e.Speed = static_cast<std::int16_t>(e.Speed / 2);
        if (e.Timer == 0) {
            e.Speed = 0;
            e.State = TPhase::phAttack;
            e.Timer = 40;
        }
        break;
    case TPhase::phAttack:
        if (e.Timer == 25 || e.Timer == 20 || e.Timer == 15) {
            PlaySE(Sound::Fire, PanOf(e), e.YPos() / 128, 200 + Random(20));
            SpawnEnemyShot(Bullet::AimedSlowing, e, -64);
            SpawnEnemyShot(Bullet::AimedSlowing, e, 64);
        }
        if (ShipWithin(e, 100) || e.Timer == 0) {
            e.Work3 -= 1;
            if (e.Work3 < 1) {
                e.State = TPhase::phLeave;
                e.SetDirection(192);
                e.Speed = 0;
            } else {
                PlaySE(Sound::WindS, PanOf(e), -13, 130 + Random(10));
                e.State = TPhase::phEnter;
                SetHeading(e, -64 + 56 * Sign(320 - e.XPos()));
                e.Timer = 80;
                e.Speed = 400;
            }
        }
        break;
    case TPhase::phLeave: AddSpeed(e, 2); break;
    default: break;
    }
}

// Falls straight through; it only has its sound and its destruction.
void StartFallingHeavy(TEnemy& e, std::int32_t) { PlaySE(Sound::WindS, PanOf(e), -5, 70 + Random(10)); }

// Slants down across the ship's side.
void StartFastDiver(TEnemy& e, std::int32_t) {
    e.SetDirection(MyShip.XPos() < e.XPos() ? 80 : 48);
    PlaySE(Sound::WindS, PanOf(e), -5, 140 + Random(10));
}

// Fires aimed bullets every 4 ticks across the middle band of the field, unless the ship is
// right beside it.
void StepFastDiver(TEnemy& e) {
    if (e.State != TPhase::phEnter) return;
    if (e.YPos() >= 241 && e.YPos() <= 399 && SceneTimer % 4 == 0 && !ShipWithin(e, 64))
        SpawnEnemyShot(Bullet::Aimed, e, 0);
}

// Heads for where the ship is, from a start scattered up to 64 pixels sideways.
void StartStalker(TEnemy& e, std::int32_t) {
    e.SetDirection(AngleToShip(e));
    RandSeed = static_cast<std::uint32_t>(SceneTimer);
    e.SetXPos(static_cast<std::int16_t>(e.XPos() + Random(128) - 64));
}

// Once it is below the ship it fires one aimed bullet, halts for 40 ticks and then darts
// on along its old course.
void StepStalker(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (MyShip.YPos() < e.YPos()) {
            SpawnEnemyShot(Bullet::Aimed, e, 0);
            e.State = TPhase::phLeave;
            e.Speed = 0;
            e.Timer = 40;
        }
        break;
    case TPhase::phLeave:
        if (e.Timer == 5 && Random() < 0.6) PlaySE(Sound::Kani, PanOf(e), 0, 100 + Random(20));
        if (e.Timer < 1) e.Speed = 512;
        break;
    default: break;
    }
}

}  // namespace tz
