#include "core/fixed_math.h"

#include <cmath>
#include <cstdlib>

namespace tz {

std::int32_t GetDistance(std::int32_t DX, std::int32_t DY) {
    const std::int64_t dx = DX, dy = DY;
    const long double root = std::sqrt(static_cast<long double>(dx * dx + dy * dy));
    return static_cast<std::int32_t>(RoundEven(root));
}

std::uint8_t GetDirection(std::int32_t DX, std::int32_t DY) {
    std::int32_t c = 64;
    if (DX != 0) {
        const std::int32_t scaled = WrapMul(DY, 1024);
        std::int64_t t = RoundEven(static_cast<long double>(scaled) / static_cast<long double>(DX));
        if (t < 0) t = -t;
        c = t < 512 ? 0 : t < 1024 ? 16 : t < 2048 ? 32 : 48;
        while (c < 64 && t > AtanTab[static_cast<std::size_t>(c)]) ++c;
        if (DX < 0) c = 128 - c;
    }
    if (DY < 0) c = -c;
    return static_cast<std::uint8_t>(c & 0xFF);
}

}  // namespace tz
