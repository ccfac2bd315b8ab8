#pragma once
// The fighters: the swooping fighter (kind 0), the diver (3), the falling heavy craft (4),
// the fast diver (20) and the stalker (27).

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

void StartSwoopingFighter(TEnemy& e, std::int32_t Param);
void StepSwoopingFighter(TEnemy& e);
void StartDiver(TEnemy& e, std::int32_t Param);
void StepDiver(TEnemy& e);
void StartFallingHeavy(TEnemy& e, std::int32_t Param);
void StartFastDiver(TEnemy& e, std::int32_t Param);
void StepFastDiver(TEnemy& e);
void StartStalker(TEnemy& e, std::int32_t Param);
void StepStalker(TEnemy& e);

}  // namespace tz
