#pragma once
// Effects: short-lived pictures kept in a table of 512 records outside the object list.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline std::array<TEffect, EffectCount>& Effects = GameState.Play.Effects;

// Starts an effect of Kind at Source's position; nothing happens when all 512 are active.
void SpawnEffect(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param);
// One tick of every active effect.
void MoveEffects();

}  // namespace tz
