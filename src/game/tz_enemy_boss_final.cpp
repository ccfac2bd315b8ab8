// Kind 25: the final boss. It descends to the top of the field and fires from two guns
// beside its centre: aimed streams, aimed spark generators or two nine-way fans, changing
// at random once it is below 600. At 650 it starts to break up (one quake and explosion)
// and turns into its damaged form at 600, or 50 ticks later; each form swaps its sprite
// bank, the second with the boss music (the game window's user event).
#include "game/tz_enemy_boss.h"

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_enemymissile.h"
#include "game/tz_outlet.h"

namespace tz {

namespace {

// Its attack patterns (Work3).
constexpr std::int32_t Streams = 0, Generators = 1, Fans = 2;
constexpr std::int32_t GunDistance = 130;
constexpr std::int16_t BreakUpLife = 650;      // where the quake and explosion come
constexpr std::int16_t DamagedFormLife = 600;  // where the form changes at the latest ...
constexpr std::int32_t BreakUpTicks = 50;      // ... or this long after the break-up

// One bullet from each gun.
void FromBothGuns(const TEnemy& e, std::uint8_t Kind, std::int32_t Param) {
    SpawnEnemyShotAt(Kind, static_cast<std::int16_t>(e.XPos() - GunDistance), e.YPos(), Param);
    SpawnEnemyShotAt(Kind, static_cast<std::int16_t>(e.XPos() + GunDistance), e.YPos(), Param);
}

// After a generator or fan pattern: with probability 0.6 one of the two others.
void MayChangePattern(TEnemy& e, std::uint32_t SeedFactor) {
    RandSeed = static_cast<std::uint32_t>(SceneTimer) * SeedFactor;
    if (Random() < 0.6) e.Work3 = (e.Work3 + 1 + Random(2)) % 3;
}

void StepPattern(TEnemy& e) {
    switch (e.Work3) {
    case Streams:
        if (e.Timer <= 0) {
            PlaySE(Sound::Fire, PanOf(e), 5, 50 + Random(20));
            for (std::int32_t j = 0; j <= 15; ++j) FromBothGuns(e, Bullet::AimedFast, j);
            if (e.Life > DamagedFormLife) {
                e.Timer = 80;
            } else {
                RandSeed = static_cast<std::uint32_t>(SceneTimer) * 31425u;
                e.Work3 = Random(3);
                e.Timer = 70;
            }
        }
        break;
    case Generators:
        if (e.Timer <= 0 && e.Timer % 32 == 0) {
            PlaySE(Sound::Thunder, PanOf(e), 5, e.XPos() / 64 + 80);
            FromBothGuns(e, Bullet::Generator, 1);
        }
        if (e.Timer < -49) {
            e.Timer = 32;
            MayChangePattern(e, 45435u);
        }
        break;
    case Fans:
        if (e.Timer <= 0 && e.Timer % 8 == 0) {
            PlaySE(Sound::Laser, PanOf(e), 10, e.XPos() / 64 + 120);
            FromBothGuns(e, Bullet::Spread, 0);
            for (std::int32_t j = 1; j <= 4; ++j) {
                FromBothGuns(e, Bullet::Spread, j);
                FromBothGuns(e, Bullet::Spread, -j);
            }
        }
        if (e.Timer < -79) {
            e.Timer = 90;
            MayChangePattern(e, 86343u);
        }
        break;
    default: break;
    }
}

}  // namespace

void StartFinalBoss(TEnemy& e, std::int32_t) {
    e.SetXPos(320);
    e.SetYPos(-220);
    e.Work4 = 0;  // ticks since the break-up began
    BossLife = e.Life;
    RequestUserEvent();  // its bank comes in
}

void WatchFinalBoss(TEnemy& e) {
    BossLife = e.Life;
    if (e.Pattern != FinalBossFirstForm) return;
    if (e.Life <= BreakUpLife) {
        e.Work4 += 1;
        if (e.Work4 == 1) {
            MyShip.QuakeTimer = 50;
            SpawnEffect(Effect::BigExplosion, e, 0);
        }
    }
    if (e.Life <= DamagedFormLife || e.Work4 > BreakUpTicks) {
        RequestUserEvent();  // the damaged form's bank and the boss music
        e.Pattern = FinalBossDamagedForm;
    }
}

void StepFinalBoss(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.YPos() > 110) e.Speed = 64;
        if (e.YPos() > 130) e.Speed = 32;
        if (e.YPos() >= 150) {
            e.Speed = 0;
            e.State = TPhase::phAttack;
            e.Work3 = Streams;
            e.Timer = 70;
        }
        break;
    case TPhase::phAttack: StepPattern(e); break;
    default: break;
    }
}

void WreckFinalBoss(TEnemy& e) {
    SpawnEffect(Effect::BigExplosion, e, 0);
    FinishWreck(e, 1, 0, false);
    Score += 10000;
    StageCleared(350);
    RequestUserEvent();  // the music stops
}

}  // namespace tz
