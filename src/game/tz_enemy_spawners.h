#pragma once
// The invisible service objects: the spawners of swooping fighters (kind 5), of stalkers
// (17) and of ring mines around the ship (23), and the warning marker (6) that drops
// falling arrows before a big entry.

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

void StartSpawner(TEnemy& e, std::int32_t Param);
void StepFighterSpawner(TEnemy& e);
void StepStalkerSpawner(TEnemy& e);
void StepRingSpawner(TEnemy& e);
void StartWarningMarker(TEnemy& e, std::int32_t Param);
void StepWarningMarker(TEnemy& e);

}  // namespace tz
