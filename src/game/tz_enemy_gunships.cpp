#include "game/tz_enemy_gunships.h"

#include <cstdlib>

#include "game/tz_enemy_common.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_map.h"
#include "game/tz_outlet.h"

namespace tz {

// Creeps down firing five-way fans every 50 ticks while inside the middle of the field,
// then drifts off faster.
void StepGunPod(TEnemy& e) {
    if (e.Timer % 50 == 0 && e.YPos() > 70 && e.YPos() < 350) {
        PlaySE(Sound::Fire, PanOf(e), e.YPos() / 64, 50 + Random(20));
        for (const std::int32_t p : {-32, -16, 0, 16, 32}) SpawnEnemyShot(Bullet::Turning, e, p);
    }
    switch (e.State) {
    case TPhase::phEnter:
        if (e.Timer < 1) e.State = TPhase::phLeave;
        break;
    case TPhase::phLeave: RaiseSpeed(e, 6, 200); break;
    default: break;
    }
}

// Comes in from beyond the side edge nearer its entry, climbing toward the middle.
void StartSideGunship(TEnemy& e, std::int32_t) {
    const std::int32_t side = Sign(e.XPos() - 320);
    const std::int32_t pan = PanOf(e);  // of the entry's x
    e.SetXPos(static_cast<std::int16_t>(320 + 400 * side));
    e.SetYPos(300);
    SetHeading(e, -64 - 32 * side);
    PlaySE(Sound::WindS, pan, -10, 80 + Random(10));
}

// Curves in braking and fires curving beams, turns up across the field firing spinning
// bullets, then halts and climbs slowly away.
void StepSideGunship(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        TurnBy(e, 70 * Sign(e.Direction() - 192));
        if (e.Speed > 0) {
            if (e.Timer % 10 == 0) AddSpeed(e, -20);
            if (e.Timer < 30) AddSpeed(e, -10);
        }
        if (e.Timer < 40 && e.Timer % 10 == 0) {
            PlaySE(Sound::Beam, PanOf(e), 5, 300 + Random(20));
            SpawnEnemyShot(Bullet::Curving, e, -106);
            SpawnEnemyShot(Bullet::Curving, e, 106);
        }
        if (e.Timer == 0) {
            e.Timer = 90;
            SetHeading(e, -64 + 54 * Sign(320 - e.XPos()));
            e.Speed = 300;
            e.State = TPhase::phAttack;
        }
        break;
    case TPhase::phAttack:
        if (e.Speed > 0 && e.Timer < 30) AddSpeed(e, -30);
        if (e.Timer < 50 && e.Timer % 16 == 0) {
            PlaySE(Sound::Fire, PanOf(e), e.YPos() / 64, 50 + Random(20));
            for (const std::int32_t p : {-12, -4, 4, 12}) SpawnEnemyShot(Bullet::Spinning, e, p);
        }
        if (e.Timer == 0) {
            SetHeading(e, -64 + 40 * Sign(320 - e.XPos()));
            e.Speed = 0;
            e.State = TPhase::phLeave;
        }
        break;
    case TPhase::phLeave:
        AddSpeed(e, 1);
        if (e.Speed > 128) SetHeading(e, e.Direction() + Sign(DirectionDiff(192, e.Direction())));
        break;
    default: break;
    }
}

// Rises from below the field; an entry right of the middle starts at the left edge.
void StartLauncher(TEnemy& e, std::int32_t) {
    e.SetYPos(540);
    if (e.XPos() > 320) e.SetXPos(64);
    e.Work3 = 1;
    e.Work4 = e.XPos() >= 320 ? -128 : 128;  // its turn while rising
}

namespace {

// A dart thrown from the launcher, with its sound (panned at the previous scratch entry:
// the spawn about to happen overwrites it).
void ThrowDart(const TEnemy& e, std::int32_t dx, std::int32_t dy, std::int32_t direction) {
    PlaySE(Sound::Fire, (ScratchEntry.X - 320) / 8, 5, 50 + Random(20));
    SpawnFromScratch(e.XPos() + dx, e.YPos() + dy, EnemyKind::Dart, direction);
    SpawnedCount += 1;
}

}  // namespace

// Rises curving and braking near the top, throwing a dart downward every 30 ticks; falls
// back until level with the ship, brakes, and climbs away to the far side throwing darts
// sideways.
void StepLauncher(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        TurnBy(e, e.Work4);
        if (e.YPos() < 70) AddSpeed(e, -20);
        if (e.Speed < 0) {
            e.SetDirection(64);
            e.Speed = 512;
            e.State = TPhase::phAttack;
            e.Work3 = 1;
        }
        if (e.Timer % 30 == 0) ThrowDart(e, 27, 50, 64);
        break;
    case TPhase::phAttack:
        switch (e.Work3) {
        case 1:
            if (std::abs(e.YPos() - MyShip.YPos()) < 32) {
                e.Work3 = 2;
                e.Pattern += 1;
            }
            break;
        case 2:
            AddSpeed(e, -20);
            if (e.Speed <= 0) {
                e.Work3 = 3;
                e.SetDirection(e.XPos() > 319 ? 144 : 240);
            }
            break;
        case 3:
            if (e.Timer % 20 == 0) ThrowDart(e, 50, -27, 0);
            RaiseSpeed(e, 10, 512);
            break;
        default: break;
        }
        break;
    default: break;
    }
}

// Enters beyond the side edge nearer its entry, flying level across the field.
void StartSideCrosser(TEnemy& e, std::int32_t) {
    const bool right = e.XPos() > 319;
    e.SetXPos(right ? 720 : -80);
    e.SetYPos(300);
    e.SetDirection(right ? 134 : 250);
    PlaySE(Sound::WindS, PanOf(e), 0, 90 + Random(10));
}

// Crosses once, turns back near the far edge and crosses again dropping a spark generator
// every 20 ticks.
void StepSideCrosser(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter: {
        const std::uint8_t d = e.Direction();
        if ((e.XPos() > 600 && d > 192) || (e.XPos() < 40 && d < 192)) {
            e.State = TPhase::phAttack;
            e.SetDirection(e.XPos() < 321 ? 248 : 136);
        }
        break;
    }
    case TPhase::phAttack:
        if (e.Timer % 20 == 0) {
            PlaySE(Sound::Thunder, MyShip.FireSide * 5 + PanOf(e), 0, 100);
            SpawnEnemyShot(Bullet::Generator, e, 0);
        }
        break;
    default: break;
    }
}

void StartDart(TEnemy& e, std::int32_t Param) { e.SetDirection(static_cast<std::uint8_t>(Param & 0xFF)); }

// Bursts into eight bullets when its time is up, for no score.
void StepDart(TEnemy& e) {
    if (e.State != TPhase::phEnter || e.Timer > 0) return;
    e.State = TPhase::phDown;
    PlaySE(Sound::Fire, PanOf(e), e.YPos() / 64, 50 + Random(20));
    for (std::int32_t j = 0; j < 8; ++j) SpawnEnemyShot(Bullet::Turning, e, 32 * j);
}

}  // namespace tz
