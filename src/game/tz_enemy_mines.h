#pragma once
// The mines and what homes in: the mine layer (kind 18) and its homing mines (19), the shard
// thrown by the teleporting mid-boss (28) and the ring mine (29).

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

void StartMineLayer(TEnemy& e, std::int32_t Param);
void StepMineLayer(TEnemy& e);
void StartHomingMine(TEnemy& e, std::int32_t Param);
void StepHomingMine(TEnemy& e);
void StartShard(TEnemy& e, std::int32_t Param);
void StepShard(TEnemy& e);
void StartRingMine(TEnemy& e, std::int32_t Param);
void StepRingMine(TEnemy& e);

// Where the mine layer carries spare mine k (1..4), relative to its centre; the drawing
// shows the spares there and a mine is released from the place of the last one.
inline constexpr std::int32_t SpareMineX(std::int32_t k) { return 24 * k - 60; }
inline constexpr std::int32_t SpareMineY = -40;

}  // namespace tz
