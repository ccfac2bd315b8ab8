// Kind 21: the boss of stage 2. It rises from below to the top, sweeps mirrored fans and
// fires its arm guns while it holds still, slides to a side edge, swings down and across
// the field firing crosses of bullets, climbs back and starts again. It gives up and
// flies off downward when the stage's time runs low.
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
constexpr std::int32_t Holding = 1, Swinging = 2, Crossing = 3, Climbing = 4;

// One direction step toward up (and through the horizontal) every other tick.
void Swing(TEnemy& e) {
    if (e.Timer % 2 != 0) return;
    const std::uint8_t d = e.Direction();
    SetHeading(e, d + (d < 64 || d > 192 ? -1 : 1));
}

void StepHold(TEnemy& e) {
    if (e.Timer % 4 == 0) {
        SpawnEnemyShot(Bullet::Turning, e, e.Work4 - 64);
        SpawnEnemyShot(Bullet::Turning, e, 64 - e.Work4);
        if (e.Speed == 0) {
            for (std::int32_t j = 1; j <= 3; ++j) {
                PlaySE(Sound::Laser, 0, 0, 100);
                SpawnEnemyShot(Bullet::SideSpark, e, j);
                SpawnEnemyShot(Bullet::SideSpark, e, -j);
            }
        }
        e.Work4 += 6;
        if (e.Work4 > 127) e.Work4 -= 128;
    }
    if (e.Timer < 0) e.Speed = 128;
    if (e.XPos() <= 79 || e.XPos() >= 581) {
        e.Work3 = Swinging;
        e.SetDirection(e.XPos() > 319 ? 65 : 63);
        e.Speed = 128;
        e.Work4 = 0;
    }
}

// Two crosses of four bullets, each started 8 pixels to one side of its course.
void FireCrosses(TEnemy& e) {
    if (e.Timer % 16 != 0) return;
    PlaySE(Sound::Fire, PanOf(e), 5, 50 + Random(20));
    for (const std::int32_t a : {192, 64})
        for (const std::int32_t d : {e.Work4, e.Work4 + 64, e.Work4 + 128, e.Work4 + 192})
            SpawnEnemyShot(Bullet::Ring, e, a + 256 * (d & 255));
    e.Work4 = (e.Work4 + 6) & 255;
}

void StepAttack(TEnemy& e) {
    switch (e.Work3) {
    case Holding: StepHold(e); break;
    case Swinging:
        Swing(e);
        FireCrosses(e);
        if ((e.Direction() & 127) == 0) {
            e.Work3 = Crossing;
            e.Timer = 70;
        }
        break;
    case Crossing:
        FireCrosses(e);
        if (e.Timer < 1) {
            e.Work3 = Climbing;
            e.SetDirection(GetDirection((e.XPos() < 321 ? 480 : 160) - e.XPos(), 80 - e.YPos()));
        }
        break;
    case Climbing:
        Swing(e);
        if (e.YPos() < 90) e.State = TPhase::phEnter;  // holds again once back at the top
        break;
    default: break;
    }
}

}  // namespace

void StartStage2Boss(TEnemy& e, std::int32_t) {
    e.SetYPos(550);
    e.Work5 = MyShip.XPos() < e.XPos() ? 128 : 0;  // the way it slides first
}

void StepStage2Boss(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.YPos() <= 79) {
            e.State = TPhase::phAttack;
            e.Work3 = Holding;
            e.Timer = 140;
            SetHeading(e, e.Work5);
            e.Work5 = 128 - e.Work5;
            e.Speed = 0;
            e.Work4 = 0;
            RandSeed = static_cast<std::uint32_t>(SceneTimer) * 53u;
        }
        break;
    case TPhase::phAttack:
        if (TimeLeft < Stage2BossTimeOut) {
            e.State = TPhase::phLeave;
            e.SetDirection(GetDirection(320 - e.XPos(), 480 - e.YPos()));
            e.Speed = 128;
            PlaySE(Sound::Wind, 0, 0, 60);
            break;
        }
        StepAttack(e);
        break;
    case TPhase::phLeave:
        if (e.Timer % 8 == 0) AddSpeed(e, 40);
        break;
    default: break;
    }
}

void WreckStage2Boss(TEnemy& e) {
    SpawnEffect(Effect::BigExplosion, e, 0);
    FinishWreck(e, 1, 0, true);
    Score += 20000;
    StageCleared(210);
}

}  // namespace tz
