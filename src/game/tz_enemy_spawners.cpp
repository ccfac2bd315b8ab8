#include "game/tz_enemy_spawners.h"

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemy_common.h"
#include "game/tz_gamemain.h"
#include "game/tz_outlet.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

// A spawner whose time is up leaves, counted out of its groups and as destroyed.
void RetireSpawner(TEnemy& e) {
    if (e.Timer > 0) return;
    UnitList.RemoveCharacter(e);
    GroupDown(EnemyRecordIndex(e));
    KilledCount += 1;
}

}  // namespace

void StartSpawner(TEnemy& e, std::int32_t) { e.SetYPos(-20); }

// A swooping fighter in the spawner's groups every 8 ticks.
void StepFighterSpawner(TEnemy& e) {
    if ((e.Timer & 7) == 0) SpawnChild(e, e.XPos(), e.YPos(), EnemyKind::SwoopingFighter, 0);
    RetireSpawner(e);
}

// A stalker in the spawner's groups on the ticks whose Timer mod 8 is 0 or 2.
void StepStalkerSpawner(TEnemy& e) {
    if ((e.Timer & 5) == 0) SpawnChild(e, e.XPos(), e.YPos(), EnemyKind::Stalker, 0);
    RetireSpawner(e);
}

// Every 20 ticks a ring mine 64 pixels from the ship: above it, then left, below, right.
void StepRingSpawner(TEnemy& e) {
    if (e.Timer % 20 == 0) {
        const std::uint8_t around = static_cast<std::uint8_t>(32 * ((e.Timer / 10) & 7));
        SpawnChild(e, MyShip.XPos() + Cos(around) / 16, MyShip.YPos() + Sin(around) / 16, EnemyKind::RingMine,
                   e.Timer / 10);
    }
    RetireSpawner(e);
}

void StartWarningMarker(TEnemy& e, std::int32_t) {
    e.SetYPos(-20);
    PlaySE(Sound::Arrow, PanOf(e), 0, 80);
}

// Four falling arrows 10 ticks apart, then it is gone (counted as destroyed, in no group).
void StepWarningMarker(TEnemy& e) {
    if (e.Timer == 30 || e.Timer == 20 || e.Timer == 10 || e.Timer == 0) SpawnEffect(Effect::FallingArrow, e, 0);
    if (e.Timer <= 0) {
        UnitList.RemoveCharacter(e);
        KilledCount += 1;
    }
}

}  // namespace tz
