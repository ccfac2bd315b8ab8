#pragma once
// Effects: short-lived pictures (flashes, sparks, smoke, debris, explosions, score labels,
// wreckage and the ending's captions) kept in a table of 512 records outside the object list.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline std::array<TEffect, EffectCount>& Effects = GameState.Play.Effects;

// Starts an effect of Kind at Source's position in the first free record (nothing happens
// when all 512 are active). Source's Direction is the heading some kinds scatter around;
// Param is the kind's own value (a direction, a momentum, a pattern or a bonus value).
void SpawnEffect(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param);
// One tick of every active effect: its motion, its kind's animation and children, its life.
void MoveEffects();

}  // namespace tz
