#pragma once
// What game logic reads of the sprite patterns: whether two objects' hit circles touch, and
// how wide a pattern's picture is. Both come from the game window's pattern table, which holds
// the records of every bank from the window's creation on, whether the bank's picture is
// loaded or not, so the answers never depend on when a bank was loaded. Without a game window
// nothing touches and every pattern is 0 pixels wide.

#include <cstdint>

#include "collision/list.h"

namespace tz {

// Any hit circle of a's pattern (turned by its Rotation, at its position) overlaps one of b's.
bool PatternsTouch(const TCharacter& a, const TCharacter& b);

// Width of the pattern's rectangle in its bank; 0 for a number outside the table.
std::int32_t PatternWidth(std::int16_t Pattern);

}  // namespace tz
