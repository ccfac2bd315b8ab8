#pragma once
// The hash of the game state: a 64-bit hash of the bytes of its play part (tz_state.h), so
// every field of the record is covered without a list of fields to keep. The records are
// free of padding and hold no addresses, so equal states give equal hashes in any process.
// The records (best score) and the playback (replay mode and length, the input file's
// position) are left out: a game and the playback of its replay hash alike at every tick.

#include <cstddef>
#include <cstdint>
#include <string>

#include "game/tz_state.h"

namespace tz {

// A fast hash of n bytes (four interleaved multiply-rotate lanes over 8-byte words).
std::uint64_t HashBytes(const void* data, std::size_t n);

// The hash of a state, and of the live one.
std::uint64_t GameStateHash(const TGameState& state);
std::uint64_t GameStateHash();

// 16 lower-case hexadecimal digits.
std::string HashText(std::uint64_t hash);

}  // namespace tz
