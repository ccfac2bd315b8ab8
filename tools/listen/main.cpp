// The listening tool: renders the five pieces through FluidSynth, a sheet of all effects
// and a busy mix of play to WAV files, and prints measurements of each.
//   korrindal_listen --bin DIR --recipes DIR --out DIR [--soundfont FILE]
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "analysis.h"
#include "effect_sheet.h"
#include "fluid_render.h"
#include "loudness.h"
#include "render.h"
#include "wave_file.h"

namespace {

// The game's slots: effect names and base volumes (dB).
const std::vector<std::pair<std::string, double>> kSlots = {
    {"Valcan", -18}, {"Canon", -8},    {"Thunder", -5},  {"Beam", -17},   {"Laser", -16},   {"ValcanHit", -18},
    {"BeamHit", -18}, {"Bomb", 0},     {"CrashL", -10},  {"CrashM", -7},  {"Kani", -15},    {"Wind", -5},
    {"WindS", -5},   {"Accel", -10},   {"Fire", -13},    {"Start", -5},   {"Warning", -8},  {"Dead", -5},
    {"Weapon", -10}, {"Bonus", -10},   {"Arrow", -17},   {"SuperShot", 0}};
const char* kPieces[] = {"BGM1", "BGM2", "BGM3", "Boss", "Ending"};
// Louder than FluidSynth's default (0.2), so that the renders sit at a listening level
// without clipping: FluidR3's wide synth leads peak at 1.5 at a gain of 0.5.
constexpr double kMusicGain = 0.3;

void write_stereo(const std::filesystem::path& file, const std::vector<float>& s) {
  std::vector<double> d(s.begin(), s.end());
  sfx::WaveOptions o;
  o.channels = 2;
  sfx::write_wave(file, d, o);
}

void print_measures(const char* name, const listen::Measures& m, double music) {
  std::printf("%-10s %6.1f s (music %6.1f)  peak %6.1f  rms %6.1f dBFS  gap %4.2f s  lead %4.2f s  "
              "centroid %5.0f Hz  low/mid/high %3.0f/%3.0f/%3.0f %%  onsets %4.1f/s\n",
              name, m.seconds, music, m.peak_db, m.rms_db, m.longest_silence, m.leading_silence, m.centroid_hz,
              100 * m.low, 100 * m.mid, 100 * m.high, m.onsets_per_second);
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> args;
  for (int i = 1; i + 1 < argc; i += 2) args[argv[i]] = argv[i + 1];
  if (!args.count("--bin") || !args.count("--recipes") || !args.count("--out")) {
    std::fprintf(stderr, "usage: korrindal_listen --bin DIR --recipes DIR --out DIR [--soundfont FILE]\n");
    return 2;
  }
  const std::filesystem::path bin = args["--bin"], recipes = args["--recipes"], out = args["--out"];
  const std::filesystem::path soundfont = args.count("--soundfont") ? args["--soundfont"] : listen::kDefaultSoundfont.string();
  try {
    std::filesystem::create_directories(out);
    std::vector<float> first_piece;
    for (const char* name : kPieces) {
      std::ifstream in(bin / (std::string(name) + ".mid"), std::ios::binary);
      if (!in) throw std::runtime_error(std::string("missing ") + name + ".mid");
      const std::vector<std::uint8_t> midi{std::istreambuf_iterator<char>(in), {}};
      listen::RenderOptions options;
      options.gain = kMusicGain;
      const listen::Rendering r = listen::render_midi(midi, soundfont, options);
      if (!r.errors.empty()) std::fprintf(stderr, "%s: FluidSynth reported: %s", name, r.errors.c_str());
      write_stereo(out / (std::string(name) + ".wav"), r.samples);
      const std::vector<float> mono = listen::to_mono(r.samples);
      print_measures(name, listen::measure(mono, r.sample_rate, r.music_seconds), r.music_seconds);
      if (first_piece.empty()) first_piece = r.samples;
    }

    std::vector<listen::Effect> effects;
    for (const auto& [name, base] : kSlots) {
      sfx::Recipe recipe = sfx::load_recipe(recipes / (name + ".sfx"));
      std::vector<double> samples = sfx::render(recipe);
      const double level = sfx::loudness_db(samples, recipe.sample_rate);
      std::printf("%-10s %5.2f s  loudness %6.1f dB, in the mix (base %3.0f dB) %6.1f dB\n", name.c_str(),
                  recipe.length, level, base, level + base);
      effects.push_back({std::move(recipe), std::move(samples), base});
    }
    const std::vector<float> sheet = listen::effect_sheet(effects);
    write_stereo(out / "effects.wav", sheet);
    const std::vector<float> mix = listen::busy_mix(effects, first_piece);
    write_stereo(out / "mix.wav", mix);
    print_measures("effects", listen::measure(listen::to_mono(sheet), 44100, 0.0), 0.0);
    print_measures("mix", listen::measure(listen::to_mono(mix), 44100, 12.0), 12.0);
    std::printf("written to %s\n", out.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korrindal_listen: %s\n", e.what());
    return 1;
  }
}
