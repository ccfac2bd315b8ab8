#pragma once
#include "game/tz_types.h"

namespace tz {

// The draw procedure installed as OnDraw of the ship, its shots, enemies and items.
void DrawCharacter(TCharacter& ownObject);

}  // namespace tz
