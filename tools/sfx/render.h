#pragma once
// Turns a recipe into samples: each voice rendered and mixed, the master chain applied, and
// the result brought to the recipe's level under its ceiling with clean ends.
#include <vector>

#include "recipe.h"

namespace sfx {

// One voice alone, `frames` samples long, from time 0 (its `at` and gain applied).
std::vector<double> render_voice(const VoiceSpec& voice, int sample_rate, std::size_t frames);

// The voices mixed and passed through the master chain, before any levelling.
std::vector<double> render_mix(const Recipe& recipe);

// The finished effect: the mix levelled to the recipe's loudness, limited to its ceiling and
// faded at both ends; samples in -1..1.
std::vector<double> render(const Recipe& recipe);

}  // namespace sfx
