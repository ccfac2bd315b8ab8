#pragma once
// The game's random generator: a linear congruential generator whose exact sequence is part
// of the replay format. The state advances before every draw:
//   seed = seed * 134775813 + 1 (mod 2^32)
// Random(N) is the high 32 bits of the 64-bit product seed * N; Random() is seed / 2^32.
//
// The game keeps two generators of this kind: its own (RandSeed / Random, part of the game
// state and used only by the tick, which reseeds it from the scene clock before choices
// that shape play) and DrawRandom, used by drawing (star colours, quake jitter, lightning,
// sparks), so whether a frame is drawn or skipped never changes what the tick draws.

#include <cstdint>

namespace tz {

struct TRandom {
    std::uint32_t seed = 0;

    // Advances the state and returns it.
    constexpr std::uint32_t Next() {
        seed = seed * 134775813u + 1u;
        return seed;
    }
    // 0 .. N-1 for N > 0 (N is taken as unsigned, as the machine multiply does).
    constexpr std::int32_t Random(std::int32_t N) {
        const std::uint64_t product = static_cast<std::uint64_t>(Next()) * static_cast<std::uint32_t>(N);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
    }
    // [0, 1).
    constexpr double Random() { return static_cast<double>(Next()) * (1.0 / 4294967296.0); }
};

}  // namespace tz
