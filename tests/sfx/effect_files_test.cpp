// The 22 wave files written by the build: readable by a strict reader and by a loader that
// scans for its chunk tags, within the measurements their recipes declare, balanced against
// the game's base volumes, and fit for the rates at which the game plays them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "audio_measure.h"
#include "recipe.h"
#include "riff_reader.h"

namespace {

struct Slot {
  const char* name;
  double base_db;
};

// The game's sound table: slot order, file names, base volumes.
const std::vector<Slot> kSlots = {
    {"Valcan", -18}, {"Canon", -8},   {"Thunder", -5}, {"Beam", -17},  {"Laser", -16},   {"ValcanHit", -18},
    {"BeamHit", -18}, {"Bomb", 0},    {"CrashL", -10}, {"CrashM", -7}, {"Kani", -15},    {"Wind", -5},
    {"WindS", -5},   {"Accel", -10},  {"Fire", -13},   {"Start", -5},  {"Warning", -8},  {"Dead", -5},
    {"Weapon", -10}, {"Bonus", -10},  {"Arrow", -17},  {"SuperShot", 0}};

constexpr double kTicksPerSecond = 70.0;

struct Loaded {
  sfx_test::Wave wave;
  std::vector<std::uint8_t> bytes;
  sfx::Recipe recipe;
  double loudness = 0.0;
};

const std::map<std::string, Loaded>& effects() {
  static const std::map<std::string, Loaded> all = [] {
    std::map<std::string, Loaded> m;
    for (const Slot& s : kSlots) {
      const std::filesystem::path file = std::filesystem::path(KORRINDAL_BIN_DIR) / (std::string(s.name) + ".wav");
      Loaded l;
      l.bytes = sfx_test::read_bytes(file);
      l.wave = sfx_test::read_wave(file);
      l.recipe = sfx::load_recipe(std::filesystem::path(KORRINDAL_SFX_RECIPES) / (std::string(s.name) + ".sfx"));
      l.loudness = sfx_test::weighted_loudness_db(l.wave.samples, l.wave.sample_rate);
      m.emplace(s.name, std::move(l));
    }
    return m;
  }();
  return all;
}

double seconds(const Loaded& l) { return static_cast<double>(l.wave.samples.size()) / l.wave.sample_rate; }

TEST(EffectFiles, EveryFileIsMono16BitPcmWithConsistentFormatFields) {
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.name);
    const sfx_test::Wave& w = effects().at(s.name).wave;
    EXPECT_EQ(w.format_tag, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_TRUE(w.sample_rate == 22050 || w.sample_rate == 44100) << w.sample_rate;
    EXPECT_EQ(w.block_align, w.channels * w.bits / 8);
    EXPECT_EQ(w.byte_rate, w.sample_rate * w.block_align);
    EXPECT_GT(w.samples.size(), 1000u);
  }
}

TEST(EffectFiles, ATagScanningLoaderFindsTheSameChunksAsTheChunkWalk) {
  int with_extra_chunk = 0, with_long_fmt = 0;
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.name);
    const Loaded& l = effects().at(s.name);
    EXPECT_EQ(sfx_test::naive_tag_scan(l.bytes, "data"), l.wave.data_offset - 4);
    EXPECT_EQ(sfx_test::naive_tag_scan(l.bytes, "fmt "), 16u);
    const auto& c = l.wave.chunks;
    if (c.size() > 2 && c[c.size() - 2].tag != "fmt ") ++with_extra_chunk;
    if (l.wave.fmt_size == 18) ++with_long_fmt;
  }
  // Some files carry a chunk between "fmt " and "data" and some a longer format chunk, so
  // that the game's loader is exercised on both.
  EXPECT_GE(with_extra_chunk, 3);
  EXPECT_GE(with_long_fmt, 1);
}

TEST(EffectFiles, LengthPeakAndLoudnessLieWithinTheRangesTheRecipesDeclare) {
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.name);
    const Loaded& l = effects().at(s.name);
    EXPECT_EQ(static_cast<int>(l.wave.sample_rate), l.recipe.sample_rate);
    EXPECT_TRUE(l.recipe.expect_length.contains(seconds(l))) << seconds(l);
    const double peak = sfx_test::peak_db(l.wave.samples);
    EXPECT_TRUE(l.recipe.expect_peak.contains(peak)) << peak;
    EXPECT_LT(peak, -0.3) << "too close to clipping";
    EXPECT_TRUE(l.recipe.expect_loudness.contains(l.loudness)) << l.loudness;
  }
}

TEST(EffectFiles, StartAndEndAtSilenceWithoutOffset) {
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.name);
    const std::vector<double>& x = effects().at(s.name).wave.samples;
    EXPECT_LT(std::abs(x.front()), 0.002);
    EXPECT_LT(std::abs(x.back()), 0.002);
    // The sound rises from silence and dies away to it: quiet in its first 0.1 ms and its
    // last millisecond.
    const std::size_t rate = effects().at(s.name).wave.sample_rate;
    const std::vector<double> head(x.begin(), x.begin() + rate / 10000), tail(x.end() - rate / 1000, x.end());
    EXPECT_LT(sfx_test::peak_db(head), -20.0);
    EXPECT_LT(sfx_test::peak_db(tail), -30.0);
    EXPECT_LT(std::abs(sfx_test::mean(x)), 0.003);
  }
}

TEST(EffectFiles, TheBombIsTheLoudestBothAsRecordedAndAtTheBaseVolumes) {
  const double bomb = effects().at("Bomb").loudness;
  for (const Slot& s : kSlots) {
    if (std::string(s.name) == "Bomb") continue;
    SCOPED_TRACE(s.name);
    const double l = effects().at(s.name).loudness;
    EXPECT_GT(bomb, l + 1.0);
    EXPECT_GT(bomb, l + s.base_db + 3.0);
  }
  for (const Slot& s : kSlots) EXPECT_LE(seconds(effects().at(s.name)), seconds(effects().at("Bomb"))) << s.name;
}

TEST(EffectFiles, SoundRightAtEveryRateTheGamePlays) {
  for (const Slot& s : kSlots) {
    SCOPED_TRACE(s.name);
    const Loaded& l = effects().at(s.name);
    const double fast = l.recipe.rates.hi / 100.0, slow = l.recipe.rates.lo / 100.0;
    // Sped up, almost nothing may land above 15 kHz, where it would be harsh or fold back.
    EXPECT_LT(sfx_test::energy_above(l.wave.samples, l.wave.sample_rate, 15000.0 / fast), 0.03);
    // Slowed down, a good part of it must stay above 150 Hz, not sink into an inaudible
    // rumble.
    EXPECT_GT(sfx_test::energy_above(l.wave.samples, l.wave.sample_rate, 150.0 / slow), 0.3);
    // At the fastest rate it still lasts long enough to be heard as a sound, not a click.
    EXPECT_GT(seconds(l) / fast, 0.04);
  }
}

TEST(EffectFiles, RepeatedEffectsEndBeforeTheirVoiceIsRestarted) {
  // Each slot has two voices that alternate: a sound restarted every n ticks gets 2n ticks
  // before its voice is cut, and must have ended by then even at its slowest rate.
  const std::map<std::string, int> retrigger_ticks = {{"Valcan", 4}, {"Laser", 4}, {"Arrow", 8}, {"Warning", 100}};
  for (const auto& [name, ticks] : retrigger_ticks) {
    SCOPED_TRACE(name);
    const Loaded& l = effects().at(name);
    EXPECT_LE(seconds(l) * 100.0 / l.recipe.rates.lo, 2 * ticks / kTicksPerSecond);
  }
}

}  // namespace
