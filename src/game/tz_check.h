#pragma once
// The hit rules: what a contact between two game objects means (damage, push, pick-up, the
// ship's destruction).

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// The check procedure of every colliding game object, called by the object list when the
// moving record ownObject touches dstObject, and by the enemy bullets for the ship. It answers
// through ContinueFlags with 0 (go on sweeping) or cfStop, never with a removal.
void CheckHit(TCharacter& ownObject, TCharacter& dstObject, std::uint8_t& ContinueFlags);

// The ship is destroyed: its wreckage, two rays as well when a bullet hit it, and the dead
// clock started (the game step takes the ship out of the list on its next tick).
void DestroyShip(bool ByBullet);

// The turn from direction From to direction To, as a signed byte (-128..127).
constexpr std::int32_t SignedTurn(std::uint8_t From, std::uint8_t To) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(To - From));
}

}  // namespace tz
