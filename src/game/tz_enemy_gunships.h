#pragma once
// The gunships: the gun pod (kind 1), the side gunship (2), the launcher rising from below
// (16), the side crosser (22) and the launcher's dart (26).

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

void StepGunPod(TEnemy& e);
void StartSideGunship(TEnemy& e, std::int32_t Param);
void StepSideGunship(TEnemy& e);
void StartLauncher(TEnemy& e, std::int32_t Param);
void StepLauncher(TEnemy& e);
void StartSideCrosser(TEnemy& e, std::int32_t Param);
void StepSideCrosser(TEnemy& e);
void StartDart(TEnemy& e, std::int32_t Param);
void StepDart(TEnemy& e);

}  // namespace tz
