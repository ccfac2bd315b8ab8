#pragma once
// Enemy bullets: a table of 256 records outside the object list; each tests the ship itself.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline std::array<TEnemyShot, EnemyShotCount>& EnemyShots = GameState.Play.EnemyShots;
inline std::int32_t& EnemyShotNext = GameState.Play.EnemyShotNext;  // the slot last taken

// Starts a bullet of Kind at Source; dropped when all 256 are active.
void SpawnEnemyShot(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param);
// One tick of every active bullet.
void MoveEnemyShots();

}  // namespace tz
