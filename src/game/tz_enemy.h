#pragma once
// Enemies: every object of the play field other than the ship, its shots, the enemy bullets
// and the effects lives in one table of 128 records, started from a spawn entry and moved
// through the object list as TCharType::ctEnemy.
//
// What a kind is and does is one row of EnemyKinds, found by its kind number: its start
// values, the push decay and step it runs every tick, and what it leaves when destroyed.
// The steps themselves live with their families (tz_enemy_fighters, _gunships, _mines,
// _spawners, _drifters, _carrier and the bosses in tz_enemy_boss*).

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

// Push decay per tick, 16.16 pixels.
inline constexpr std::int32_t DecayFull = 65536;
inline constexpr std::int32_t DecayDouble = 2 * 65536;
inline constexpr std::int32_t DecayHalf = 65536 / 2;

// The shared destruction of the ordinary kinds: a weapon item for the carriers, a crash
// sound, smoke and debris, a score label and its points.
struct TWreck {
    std::int8_t Weapon = -1;            // weapon item dropped first, -1 none
    std::int32_t Sound = 0;             // Sound:: slot of the crash
    bool VolumeFromHeight = true;       // volume step YPos / 100 + Volume, else Volume alone
    std::int8_t Volume = 0;
    std::int16_t Rate = 100;            // rate in percent ...
    std::int16_t RateSpread = 20;       // ... plus Random(RateSpread) (no draw when 0)
    std::uint8_t SmokeCount = 0;        // effects Smoke with SmokeSpread
    std::int16_t SmokeSpread = 0;
    std::uint8_t DebrisCount = 0;       // effects Debris with DebrisMomentum
    std::int16_t DebrisMomentum = 512;
    std::int16_t Label = 0;             // score label pattern; 0 = none
    std::int32_t Points = 0;
    std::int16_t LifeAfter = 1;         // Life and Timer of the dying record
    std::int32_t TimerAfter = 0;
};

// One kind. The first thirteen fields are its start values and step; the rest say how its
// push decays, what runs before the destruction check, and how it is destroyed. A kind
// without a step only drifts (with the shared frame); a kind without a recipe is never
// destroyed by damage.
struct TEnemyKind {
    std::int16_t Radius, Range, Margin;
    std::int16_t Pattern;
    std::int32_t Direction;
    bool SetsTimer;
    std::int32_t Timer;
    std::int16_t Speed;
    std::int16_t Life;
    bool Collides;  // OnCheck = CheckHit; otherwise empty
    bool Drawn;     // OnDraw = DrawCharacter; otherwise empty
    TEnemyStart Start;
    TEnemyStep Step;
    std::int32_t Decay = 0;             // push decay per tick (16.16); 0 keeps the push
    TEnemyStep EveryTick = nullptr;     // runs every tick before the destruction check
    TEnemyStep Recipe = nullptr;        // its destruction; nullptr = never destroyed by damage
    TWreck Wreck{};                     // the data of the shared recipe (Recipe = WreckEnemy)
};

extern const std::array<TEnemyKind, EnemyKind::Count> EnemyKinds;

// Starts the object of SpawnList[Entry] in the first free record and returns its index;
// -1 (nothing happens) when all 128 records are in use, the list is full or the entry holds
// no valid kind.
std::int32_t SpawnEnemy(std::int32_t Entry, std::int32_t Param);
// One tick of every listed record, in table order.
void MoveEnemies();
// Counts Enemies[i] out of its groups; a completed group drops a bonus item worth the
// bonuses of every group it completed. Returns that value (0 when none).
std::int32_t GroupDown(std::int32_t i);

// Moves the push velocity (Work1, Work2) toward 0 by Decay (16.16 pixels per tick).
void DecayPush(TEnemy& e, std::int32_t Decay);

// The shared destruction of the ordinary kinds, from the kind's Wreck.
void WreckEnemy(TEnemy& e);
// The end of every destruction: the record turns ctDying in State 3 with LifeAfter and
// TimerAfter (removed on its next tick), is counted out of its groups when asked and
// counted as destroyed.
void FinishWreck(TEnemy& e, std::int16_t LifeAfter, std::int32_t TimerAfter, bool CountOutOfGroups);

// The index of a record of Enemies.
inline std::int32_t EnemyRecordIndex(const TEnemy& e) { return static_cast<std::int32_t>(&e - Enemies.data()); }

}  // namespace tz
