#pragma once
// What game logic reads of the sprite patterns: whether two objects' hit circles touch, and
// how wide a pattern's picture is. Both come from the game's own copy of the banks' pattern
// records, read from the bank files once (LoadPatterns; the game window does it when it is
// made), as the engine lays the banks out: the answers depend neither on a window nor on
// which banks' pictures are loaded, nor on the screen size. Before LoadPatterns nothing
// touches and every pattern is 0 pixels wide.

#include <cstdint>
#include <string>

#include "collision/list.h"

namespace tz {

// Reads the pattern records of the game's banks (BankFiles, found by the data-file rule; a
// bank that is not found has no patterns). False with a message when a bank file cannot be
// read or the banks overflow the table; the table is then left as it was.
bool LoadPatterns(std::string& error);

// Any hit circle of a's pattern (turned by its Rotation, at its position) overlaps one of b's.
bool PatternsTouch(const TCharacter& a, const TCharacter& b);

// Width of the pattern's rectangle in its bank; 0 for a number outside the table.
std::int32_t PatternWidth(std::int16_t Pattern);

}  // namespace tz
