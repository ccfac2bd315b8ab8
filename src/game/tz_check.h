#pragma once
#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// The check procedure of every colliding game object, called by the object list when the
// moving record ownObject touches dstObject (and by the enemy bullets for the ship).
void CheckHit(TCharacter& ownObject, TCharacter& dstObject, std::uint8_t& ContinueFlags);

}  // namespace tz
