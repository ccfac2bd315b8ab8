#pragma once
// The game window's object list and the properties it is stored with.

#include <array>
#include <cstdint>

#include "collision/list.h"

namespace tz {

inline constexpr std::int32_t UnitListMax = 400;

// Which partner types each moving type tests (bit t = type t).
inline constexpr std::array<std::uint16_t, CharTypeCount> UnitListCheckType = {
    0x003C,  // own ship: enemy, enemy shot, dying, item
    0x0034,  // own shot: enemy, dying, item
    0x0017,  // enemy: own ship, own shot, enemy, dying
    0x0011,  // enemy shot: own ship, dying
    0x001F,  // dying: own ship, own shot, enemy, enemy shot, dying
    0x0003,  // item: own ship, own shot
};

extern TList UnitList;

// Gives UnitList its stored properties (400 records, no wrap, the masks and type names above)
// and builds its slots, as when the game window is created.
void LoadUnitList();

}  // namespace tz
