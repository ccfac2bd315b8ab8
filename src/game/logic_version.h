#pragma once
// The version of the game's rules. A replay's proof record names the version that recorded
// it: a replay from another version cannot be expected to play the same way. Any change to
// how the game plays (which re-pins the golden replays) raises it.

#include <cstdint>

namespace tz {

inline constexpr std::int32_t GameLogicVersion = 1;

}  // namespace tz
