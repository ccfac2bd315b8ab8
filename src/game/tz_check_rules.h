#pragma once
// The parts of CheckHit by the kinds of the two records (tz_check.cpp, tz_check_contact.cpp).

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// A player shot meets an enemy, boss or item.
void ShotMeetsEnemy(TMyShot& Shot, TEnemy& Target, std::uint8_t& ContinueFlags);
// An enemy, boss or item touches the ship: push, crush or pick-up.
void EnemyMeetsShip(TEnemy& Own, TMyShip& Ship, std::uint8_t& ContinueFlags);
// An enemy meets another enemy: heavy drifters shove others aside and crush some.
void EnemyMeetsEnemy(TEnemy& Own, TEnemy& Other);
// An enemy bullet near the ship.
void BulletMeetsShip(TEnemyShot& Bullet, TMyShip& Ship, std::uint8_t& ContinueFlags);

}  // namespace tz
