#include "game/tz_enemy_mines.h"

#include <cstdlib>

#include "game/tz_enemy_common.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"

namespace tz {

void StartMineLayer(TEnemy& e, std::int32_t) {
    PlaySE(Sound::WindS, PanOf(e), -10, 80 + Random(10));
    e.Work4 = 4;  // spare mines
}

// Brakes to a halt, turns down toward the middle and speeds away, releasing its four mines
// one every 10 ticks.
void StepMineLayer(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.Timer <= 10) AddSpeed(e, -50);
        if (e.Timer <= 0) {
            e.State = TPhase::phAttack;
            e.SetDirection(e.XPos() > 319 ? 104 : 24);
            e.Timer = 30;
        }
        break;
    case TPhase::phAttack:
        RaiseSpeed(e, 14, 512);
        if (e.Timer <= 0 && e.Timer % 10 == 0 && e.Work4 >= 1) {
            SpawnChild(e, e.XPos() + SpareMineX(e.Work4), e.YPos() + SpareMineY, EnemyKind::HomingMine, e.Work4);
            PlaySE(Sound::WindS, PanOf(e), -10, 130 + Random(10));
            e.Work4 -= 1;
        }
        break;
    default: break;
    }
}

void StartHomingMine(TEnemy& e, std::int32_t) {
    e.SetDirection(AngleToShip(e));
    e.Rotation = 0;
}

// Spins, speeds up, and turns toward the ship while the ship lies ahead of it; bursts into
// a ring of six bullets once the ship is within 128 pixels, for no score.
void StepHomingMine(TEnemy& e) {
    e.Rotation = static_cast<std::uint8_t>(e.Rotation + 8);
    if (e.State != TPhase::phEnter) return;
    if (e.Speed < 256 && e.Timer < 200) AddSpeed(e, 20);
    const std::int32_t diff = DirectionDiff(AngleToShip(e), e.Direction());
    if (std::abs(diff) < 32) TurnBy(e, diff < 1 ? -128 : 128);
    if (ShipWithin(e, 128)) {
        PlaySE(Sound::Fire, PanOf(e), e.YPos() / 64, 50 + Random(20));
        for (std::int32_t j = 0; j < 6; ++j) SpawnEnemyShot(Bullet::Ring, e, 43 * 256 * j);
        e.State = TPhase::phDown;
        e.Timer = -1;
    }
}

void StartShard(TEnemy& e, std::int32_t Param) {
    e.SetDirection(static_cast<std::uint8_t>(Param & 0xFF));
    e.Timer = 12 + Random(8);
}

// Thrown out, it slows to a pause, then drops and homes on the ship for 19 ticks.
void StepShard(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.Speed > 0) AddSpeed(e, -10);
        if (e.Timer <= 0) {
            e.Speed = 0;
            e.State = TPhase::phAttack;
            e.SetDirection(64);
            e.Timer = 30;
        }
        break;
    case TPhase::phAttack:
        RaiseSpeed(e, 20, 600);
        if (e.Timer >= 1 && e.Timer <= 19) SetHeading(e, e.Direction() + Sign(DirectionDiff(AngleToShip(e), e.Direction())));
        break;
    default: break;
    }
}

void StartRingMine(TEnemy& e, std::int32_t) { e.Flash = 40; }

// Backs off while it appears, then pulses toward the ship: faster and slower in turns of 30
// ticks, turning after it (and facing it again at once when it has lost it); it stops
// turning while the ship is down.
void StepRingMine(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.Timer <= 10) e.Speed = 0;
        if (e.Timer < 1) e.State = TPhase::phAttack;
        break;
    case TPhase::phAttack: {
        if ((SceneTimer / 30) % 2 == 0) {
            if (e.Speed < 128) AddSpeed(e, 20);
        } else if (e.Speed >= 0) {
            AddSpeed(e, -20);
        }
        const std::uint8_t toShip = AngleToShip(e);
        const std::int32_t diff = DirectionDiff(toShip, e.Direction());
        if (std::abs(diff) > 64) {
            e.Speed = 0;
            e.SetDirection(toShip);
        }
        if (DeadTimer == 0) SetHeading(e, e.Direction() + 2 * Sign(diff));
        break;
    }
    default: break;
    }
}

}  // namespace tz
