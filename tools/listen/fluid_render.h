#pragma once
// Renders a Standard MIDI File to stereo samples through FluidSynth and a General MIDI
// soundfont, the way the game plays its music.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace listen {

struct Rendering {
  int sample_rate = 44100;
  std::vector<float> samples;  // interleaved left, right
  double music_seconds = 0.0;  // when the player reached the file's last tick
  std::uint32_t total_ticks = 0;
  std::string errors;          // what FluidSynth reported as errors while loading and playing

  std::size_t frames() const { return samples.size() / 2; }
};

// The set the game prefers (platform/soundfont.cpp); --soundfont renders with another.
inline const std::filesystem::path kDefaultSoundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

struct RenderOptions {
  int sample_rate = 44100;
  double gain = 0.2;     // the synthesizer's master gain (0.2 is FluidSynth's own default)
  double tail = 2.0;     // seconds rendered after the last tick, for the notes to die away
  double limit = 900.0;  // seconds at most, whatever the file
};

// Plays `midi` from the start until its last tick and then the tail. Throws if the
// synthesizer or the soundfont cannot be set up.
Rendering render_midi(std::span<const std::uint8_t> midi, const std::filesystem::path& soundfont,
                      const RenderOptions& options = {});

}  // namespace listen
