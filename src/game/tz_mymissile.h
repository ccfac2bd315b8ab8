#pragma once
// The player's shots: a table of 64 records entered into the object list as
// TCharType::ctOwnShot. The five weapons fire kinds 0..4; kind 5 is a piece of a bursting
// Canon shell.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

enum class TShotKind : std::uint8_t { Valcan = 0, Canon = 1, Thunder = 2, Beam = 3, Laser = 4, Fragment = 5 };

inline constexpr std::array<std::int32_t, 6> ShotLife = {25, 100, 30, 100, 0, 16};
inline constexpr std::array<std::int16_t, 6> ShotSpeed = {1000, 900, 200, 300, 1400, 500};
inline constexpr std::array<std::int8_t, 6> ShotPierce = {1, 2, 5, 3, 1, 1};
inline constexpr std::array<std::int32_t, 6> ShotPush = {2, 3, 0, 1, 1, 2};
// Per weapon: ticks between shots (a weapon fires every value + 1 ticks) and queued shots.
inline constexpr std::array<std::int8_t, 5> FireWaitTable = {3, 10, 14, 3, 2};
inline constexpr std::array<std::int8_t, 5> BurstTable = {1, 1, 1, 2, 1};

inline std::array<TMyShot, MyShotCount>& MyShots = GameState.Play.MyShots;

// Fires one shot of Kind from the ship (kinds 0..4) or from Source with direction Param
// (kind 5). Nothing happens when all 64 records are in use.
void SpawnMyShot(std::uint8_t Kind, TCharacter& Source, std::int32_t Param);
// One tick of every listed shot: its kind's flight, its life and the area bounds, then the
// move with its collision sweep (or its removal).
void MoveMyShots();
// The shot's own reaction when it strikes Target (a hit decided by CheckHit): one pierce used,
// Target remembered, and the kind's sparks, sound and change of course.
void ShotStrikes(TMyShot& Shot, const TEnemy& Target);

}  // namespace tz
