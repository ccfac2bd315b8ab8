#pragma once
// Enemy bullets: a table of 256 records outside the object list. Each bullet flies by its
// kind and tests the ship itself, by distance, as it moves.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline std::array<TEnemyShot, EnemyShotCount>& EnemyShots = GameState.Play.EnemyShots;
inline std::int32_t& EnemyShotNext = GameState.Play.EnemyShotNext;  // the slot last taken

// Starts a bullet of Kind at Source's position with the kind's start values; dropped when
// all 256 are active (EnemyShotNext has then come round to where it was). Returns the slot
// taken, -1 when none.
std::int32_t SpawnEnemyShot(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param);
// The same from a position of its own (a boss's gun beside its centre).
std::int32_t SpawnEnemyShotAt(std::uint8_t Kind, std::int16_t X, std::int16_t Y, std::int32_t Param);
// One tick of every active bullet, in table order.
void MoveEnemyShots();

// Only a bullet within this distance of the ship (rounded, in whole pixels) asks the hit
// rules whether it hits.
inline constexpr std::int32_t ShipTestDistance = 20;
bool BulletNearShip(const TEnemyShot& b);

}  // namespace tz
