#pragma once
#include "game/state_hash.h"

namespace tz {

// Feeds the game-object tables, the ship, the tally, the stage map state and the star field
// into the state hash, field by field.
void HashGameObjects(StateHasher& h);

}  // namespace tz
