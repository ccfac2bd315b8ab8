#pragma once
// The trigonometry of rotated drawing: the shared sine and cosine tables of the game math
// (x 1024, 256 directions) and the rounding of real values to whole pixels.

#include <cmath>
#include <cstdint>

#include "core/fixed_math.h"

namespace engine {

// The integer closest to v, halves going to the even integer.
inline int nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

inline std::int32_t sinOf(std::uint8_t a) { return tz::Sin(a); }
inline std::int32_t cosOf(std::uint8_t a) { return tz::Cos(a); }

}  // namespace engine
