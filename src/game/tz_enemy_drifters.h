#pragma once
// The drifters: the background drifter (kind 8), which cannot be hit, and the three heavy
// drifters (13, 14, 15), which take hits without end and shove other craft aside. None has
// a step of its own: they drift along their start course.

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

void StartBackgroundDrifter(TEnemy& e, std::int32_t Param);
void StartHeavyDrifterS(TEnemy& e, std::int32_t Param);
void StartHeavyDrifterM(TEnemy& e, std::int32_t Param);
void StartHeavyDrifterL(TEnemy& e, std::int32_t Param);

}  // namespace tz
