#pragma once
// An effect's recipe, as read from its text file in assets/sfx/: global settings, what the
// rendered file must measure, and the layered voices that are mixed to make it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "curve.h"
#include "filter.h"
#include "oscillator.h"

namespace sfx {

struct FilterSpec {
  FilterType type = FilterType::Lowpass;
  Curve cutoff{1000.0};
  double q = 0.707;
};

struct Lfo {
  double rate = 0.0;   // Hz
  double depth = 0.0;  // semitones for pitch, 0..1 for amplitude
};

struct VoiceSpec {
  Wave wave = Wave::Sine;
  int line = 0;          // where the voice starts in the recipe, for messages
  double at = 0.0;       // start time in seconds
  std::uint64_t seed = 1;
  Curve freq{440.0};
  Curve amp{1.0};
  Curve duty{0.5};
  double gain_db = 0.0;
  Lfo vibrato;
  Lfo tremolo;
  Lfo jitter;            // a smooth random pitch wander
  double fm_ratio = 0.0; // modulator frequency as a multiple of the voice's frequency
  Curve fm_index{0.0};   // modulation depth in periods
  double ring = 0.0;     // ring-modulation frequency (Hz), 0 = none
  int unison = 1;        // number of detuned copies
  double unison_cents = 0.0;
  std::vector<FilterSpec> filters;
  double drive_db = 0.0;
};

struct Echo {
  double delay = 0.0;  // seconds, 0 = none
  double feedback = 0.0;
  double mix = 0.0;
};

struct MasterSpec {
  std::vector<FilterSpec> filters;
  double drive_db = 0.0;
  Echo echo;
};

struct Range {
  double lo = 0.0;
  double hi = 0.0;
  bool contains(double v) const { return v >= lo && v <= hi; }
};

struct Recipe {
  std::string name;  // the file name of the effect, without extension
  int sample_rate = 44100;
  double length = 0.0;       // seconds
  double level_db = -12.0;   // target loudness (see loudness.h)
  double ceiling_db = -0.5;  // highest sample peak
  double fade_in = 0.002;    // seconds of raised-cosine fade at each end
  double fade_out = 0.01;
  Range expect_length, expect_peak, expect_loudness;
  Range rates{100.0, 100.0};  // playback rates in percent at which the game plays it
  std::string info;            // text of an INFO list chunk; empty = none
  bool fmt_extended = false;   // write the 18-byte format chunk (with an empty extension)
  std::vector<VoiceSpec> voices;
  MasterSpec master;
};

class RecipeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a recipe; `origin` names the text in messages ("file:line: ...").
Recipe parse_recipe(std::string_view text, const std::string& name, const std::string& origin);
Recipe load_recipe(const std::filesystem::path& file);

// Frequency of a note name such as "A4" (440 Hz), "C#5" or "Eb3"; nullopt if not one.
std::optional<double> note_frequency(std::string_view name);

}  // namespace sfx
