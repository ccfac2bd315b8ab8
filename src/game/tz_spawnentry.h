#pragma once
#include <cstdint>
#include <type_traits>

namespace tz {

// One stage-map entry: which enemy kind enters where, and at which scroll position.
struct TSpawnEntry {
    std::int16_t X = 0;      // start x in pixels
    std::int16_t Y = 0;      // scroll position at which the entry is released; -40 once released
    std::uint16_t Param = 0; // low byte first group, high byte second group (0 = none)
    std::uint8_t Kind = 0;   // enemy kind
    std::uint8_t Spare = 0;  // keeps the record free of padding
};
static_assert(std::has_unique_object_representations_v<TSpawnEntry>);

}  // namespace tz
