#pragma once
// Repeatable hash and value noise for textures (clouds, smoke, stars, surfaces).

#include <cmath>
#include <cstdint>

namespace art {

inline float hash01(int x, int y, int s) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + static_cast<std::uint32_t>(s) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

inline float valueNoise(float x, float y, int s) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    const float a = hash01(ix, iy, s), b = hash01(ix + 1, iy, s), c = hash01(ix, iy + 1, s), d = hash01(ix + 1, iy + 1, s);
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

// Five octaves of value noise, about 0..1.
inline float fbm(float x, float y, int s) {
    float v = 0, amp = 0.5f;
    for (int o = 0; o < 5; ++o) {
        v += amp * valueNoise(x, y, s + o * 17);
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return v;
}

}  // namespace art
