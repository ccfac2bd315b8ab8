#pragma once
// The two item kinds of the enemy table: the weapon item (it replaces the ship's weapon) and
// the bonus item (points times the bonus rate). They fall, spin or sparkle, and are picked up
// by the hit rules (tz_check.h).

#include <array>
#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// The weapon item's picture by the weapon it carries (Valcan, Canon, Thunder, Beam, Laser).
inline constexpr std::array<std::int16_t, 5> WeaponItemPattern = {95, 97, 98, 100, 102};

// Param is the weapon (0..4) carried as Work3.
void StartWeaponItem(TEnemy& e, std::int32_t Param);
void StepWeaponItem(TEnemy& e);

// Param is the value in points carried as Work3.
void StartBonusItem(TEnemy& e, std::int32_t Param);
void StepBonusItem(TEnemy& e);

}  // namespace tz
