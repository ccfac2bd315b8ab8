#pragma once
#include <cstdint>
#include <type_traits>

namespace tz {

// A background star: Speed 16..271 is both its fall speed (1/64 pixel per tick) and its
// parallax factor; X and Y are 16.16 positions.
struct TStar {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int16_t Speed = 0;
    std::int16_t Spare = 0;  // keeps the record free of padding
};
static_assert(std::has_unique_object_representations_v<TStar>);

}  // namespace tz
