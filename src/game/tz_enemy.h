#pragma once
// Enemies: every object of the play field other than the ship, its shots, the enemy bullets
// and the effects lives in one table of 128 records, started from a spawn entry and moved
// through the object list as TCharType::ctEnemy.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline std::array<TEnemy, EnemyCount>& Enemies = GameState.Play.Enemies;

// The behaviour of one kind for one tick, run before the shared frame (timer, flash, move).
using TEnemyStep = void (*)(TEnemy& e);
// Kind-specific start values applied by SpawnEnemy after the table's numbers (Param is
// SpawnEnemy's parameter).
using TEnemyStart = void (*)(TEnemy& e, std::int32_t Param);

// Start values of one kind. A kind whose Step is not set is not built yet: its spawn entries
// are skipped.
struct TEnemyKind {
    std::int16_t Radius, Range, Margin;
    std::int16_t Pattern;
    std::int32_t Direction;
    bool SetsTimer;
    std::int32_t Timer;
    std::int16_t Speed;
    std::int16_t Life;
    bool Collides;  // OnCheck := CheckHit; otherwise nil
    bool Drawn;     // OnDraw := DrawCharacter; otherwise nil
    TEnemyStart Start;
    TEnemyStep Step;
};

extern const std::array<TEnemyKind, 30> EnemyKinds;

// Starts the object of SpawnList[Entry] in the first free record; nothing happens when all
// 128 records are in use, when the list is full, or when the kind is not built yet.
void SpawnEnemy(std::int32_t Entry, std::int32_t Param);
// One tick of every listed record, in table order.
void MoveEnemies();
// Counts Enemies[i] out of its groups; a completed group drops a bonus item.
void GroupDown(std::int32_t i);

// Moves the push velocity (Work1, Work2) toward 0 by Decay (16.16 pixels per tick).
void DecayPush(TEnemy& e, std::int32_t Decay);

}  // namespace tz
