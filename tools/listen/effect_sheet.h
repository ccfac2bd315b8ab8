#pragma once
// Review mixes of the sound effects: each effect alone at the rates the game plays it, and
// a busy moment of play laid over a piece of music.
#include <filesystem>
#include <string>
#include <vector>

#include "recipe.h"

namespace listen {

struct Effect {
  sfx::Recipe recipe;
  std::vector<double> samples;  // as written to its wave file
  double base_db = 0.0;         // the game's base volume for its slot
};

// Stereo at 44.1 kHz: every effect at its base volume, at 100 % and at the lowest and
// highest rate its recipe declares, each followed by a short pause.
std::vector<float> effect_sheet(const std::vector<Effect>& effects);

// About 12 s of play: the Valcan firing, hits, explosions, pick-ups and a bomb, at the
// game's base volumes and pans, over `music` (stereo at 44.1 kHz).
std::vector<float> busy_mix(const std::vector<Effect>& effects, std::vector<float> music);

}  // namespace listen
