// Kind 10: the boss of stage 1. It comes down, backs up to the top and then circles through
// three attacks: a sweep to the side firing fans from its two wing guns, a glide back toward
// the upper middle, and a long turning spray. It gives up and flies off when the stage's
// time runs low.
#include "game/tz_enemy_boss.h"

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
constexpr std::int32_t Climbing = 0, Sweeping = 1, Gliding = 2, Spraying = 3;
constexpr std::int32_t WingGun = 80;  // the guns' distance from the centre

// Two opposed bullets of Kind from each wing gun, turned on by 86 steps each volley.
void Volley(TEnemy& e, std::uint8_t Kind) {
    e.Work4 += 86;
    for (const std::int32_t dx : {WingGun, -WingGun}) {
        const auto x = static_cast<std::int16_t>(e.XPos() + dx);
        SpawnEnemyShotAt(Kind, x, e.YPos(), e.Work4);
        SpawnEnemyShotAt(Kind, x, e.YPos(), e.Work4 + 128);
    }
}

void StepAttack(TEnemy& e) {
    switch (e.Work3) {
    case Climbing:
        if (e.YPos() <= 79) {
            SetHeading(e, 64 - 64 * e.Work5);  // away from the ship's side
            e.Speed = 128;
            e.Work3 = Sweeping;
            e.Timer = 20;
            e.Work4 = 64;
            e.Work5 = -e.Work5;
        }
        break;
    case Sweeping:
        if (e.XPos() < 100 || e.XPos() > 540) {
            e.Work3 = Gliding;
            e.SetDirection(GetDirection(320 - e.XPos(), 120 - e.YPos()));
            e.Speed = 0;
            e.Timer = 60;
        }
        if (e.Timer <= 0 && e.Timer % 3 == 0) Volley(e, Bullet::Directed);
        break;
    case Gliding:
        RaiseSpeed(e, 12, 512);
        if (e.Timer <= 0) {
            e.Work3 = Spraying;
            e.Work4 = 192;
            e.Speed = 0;
            e.Timer = 128;
        }
        break;
    case Spraying:
        if (e.Timer < 1) {
            e.SetDirection(192);
            e.Speed = 128;
            e.Work3 = Climbing;
        }
        if (e.Timer % 2 == 0 && e.Timer <= 99) {
            PlaySE(Sound::Fire, PanOf(e), 5, 50 + Random(20));
            Volley(e, Bullet::Turning);
        }
        break;
    default: break;
    }
}

}  // namespace

void StartStage1Boss(TEnemy& e, std::int32_t) {
    e.SetYPos(-120);
    PlaySE(Sound::Wind, 0, 0, 60);
}

void StepStage1Boss(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.YPos() >= 251) {
            e.Speed = -128;  // backs up
            e.State = TPhase::phAttack;
            e.Work3 = Climbing;
            e.Work5 = e.XPos() < MyShip.XPos() ? -1 : 1;
        }
        break;
    case TPhase::phAttack:
        if (TimeLeft < Stage1BossTimeOut) {
            e.SetDirection(64);
            e.Speed = -64;
            e.State = TPhase::phLeave;
            e.Timer = 40;
            break;
        }
        StepAttack(e);
        break;
    case TPhase::phLeave:
        if (e.Timer < 1) AddSpeed(e, -12);  // backs away upward, faster and faster
        break;
    default: break;
    }
}

void WreckStage1Boss(TEnemy& e) {
    SpawnEffect(Effect::BigExplosion, e, 0);
    FinishWreck(e, 1, 0, false);
    Score += 10000;
    StageCleared(210);
}

}  // namespace tz
