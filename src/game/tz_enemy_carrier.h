#pragma once
#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// Kind 9: the carrier that brings the ship into stage 1 and starts the clock.
void StartCarrier(TEnemy& e, std::int32_t Param);
void StepCarrier(TEnemy& e);

}  // namespace tz
