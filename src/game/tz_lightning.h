#pragma once
// The lightning of a quake: a bolt that walks from the ship in 8-pixel pieces, each a spark
// turned at random, its heading wandering as it goes.

#include <cstdint>

#include "core/fixed_math.h"

namespace tz {

// A bolt ends when its head leaves the screen, or after this many pieces (one that curls
// back on itself could otherwise walk for ever).
inline constexpr std::int32_t LightningMaxPieces = 256;
inline constexpr std::int16_t LightningFirstPattern = 111;  // four spark frames

// Walks one bolt from (X, Y) with numbers from rnd (a TRandom or anything with its two
// Random calls), calling draw(x, y, rotation, pattern) for each piece. Returns the pieces drawn.
template <class Rng, class DrawPiece>
std::int32_t WalkLightning(std::int32_t X, std::int32_t Y, Rng& rnd, DrawPiece&& draw) {
    auto heading = static_cast<std::uint8_t>(rnd.Random(256));
    std::int32_t pieces = 0;
    while (pieces < LightningMaxPieces) {
        const auto rotation = static_cast<std::uint8_t>(rnd.Random(256));
        const auto pattern = static_cast<std::int16_t>(LightningFirstPattern + rnd.Random(4));
        draw(X, Y, rotation, pattern);
        ++pieces;
        X += Cos(heading) / 128;
        Y += Sin(heading) / 128;
        if (rnd.Random() < 0.5) heading = static_cast<std::uint8_t>(heading + rnd.Random(33) - 16);
        if (X < 0 || X > 640 || Y < 0 || Y > 480) break;
    }
    return pieces;
}

}  // namespace tz
