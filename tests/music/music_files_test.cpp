// The five pieces written by the build: well-formed files, long enough for where they play,
// real arrangements, unbroken when rendered through FluidSynth, and distinct from each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "analysis.h"
#include "fluid_render.h"
#include "smf_reader.h"

namespace {

struct Piece {
  const char* name;
  double minimum_seconds;  // the stage (or scene) it accompanies must not outlast it
  bool major;              // the mood: bright (major) or dark (minor)
};

const Piece kPieces[] = {
    {"BGM1", 100.0, true}, {"BGM2", 100.0, false}, {"BGM3", 130.0, false}, {"Boss", 90.0, false},
    {"Ending", 65.0, true}};

std::vector<std::uint8_t> bytes_of(const char* name) {
  std::ifstream in(std::filesystem::path(KORRINDAL_BIN_DIR) / (std::string(name) + ".mid"), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

const music_test::Midi& midi(const char* name) {
  static std::map<std::string, music_test::Midi> cache;
  auto it = cache.find(name);
  if (it == cache.end()) it = cache.emplace(name, music_test::parse_midi(bytes_of(name))).first;
  return it->second;
}

struct Key {
  int tonic = 0;
  bool major = true;
};

// The key whose tonal profile (major or minor, in any of the twelve keys) correlates best
// with the piece's pitch classes weighted by duration, drums left out.
Key estimate_key(const music_test::Midi& m) {
  static constexpr std::array<double, 12> kMajor{6.35, 2.23, 3.48, 2.33, 4.38, 4.09, 2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
  static constexpr std::array<double, 12> kMinor{6.33, 2.68, 3.52, 5.38, 2.60, 3.53, 2.54, 4.75, 3.98, 2.69, 3.34, 3.17};
  std::array<double, 12> weight{};
  for (const auto& n : m.notes)
    if (n.channel != 9) weight[n.key % 12] += n.end - n.start;
  auto correlation = [&](const std::array<double, 12>& profile, int tonic) {
    double mw = 0, mp = 0;
    for (int i = 0; i < 12; ++i) {
      mw += weight[i] / 12;
      mp += profile[i] / 12;
    }
    double num = 0, dw = 0, dp = 0;
    for (int i = 0; i < 12; ++i) {
      const double a = weight[(i + tonic) % 12] - mw, b = profile[i] - mp;
      num += a * b;
      dw += a * a;
      dp += b * b;
    }
    return num / std::sqrt(dw * dp);
  };
  Key best;
  double best_r = -2.0;
  for (int t = 0; t < 12; ++t)
    for (bool major : {true, false})
      if (const double r = correlation(major ? kMajor : kMinor, t); r > best_r) {
        best_r = r;
        best = {t, major};
      }
  return best;
}

double start_bpm(const music_test::Midi& m) { return 60e6 / (m.tempos.empty() ? 500000.0 : m.tempos.front().second); }

std::set<int> programs(const music_test::Midi& m) {
  std::set<int> p;
  for (const auto& [ch, prog] : m.programs)
    if (ch != 9) p.insert(prog);
  return p;
}

TEST(MusicFiles, EachPieceIsAWellFormedFileAtLeastAsLongAsItsScene) {
  for (const Piece& p : kPieces) {
    SCOPED_TRACE(p.name);
    const music_test::Midi& m = midi(p.name);
    EXPECT_EQ(m.format, 1);
    EXPECT_GE(m.seconds(), p.minimum_seconds);
    EXPECT_LT(m.seconds(), p.minimum_seconds + 60.0);
  }
}

TEST(MusicFiles, EachPieceIsArrangedForLeadHarmonyBassAndDrums) {
  for (const Piece& p : kPieces) {
    SCOPED_TRACE(p.name);
    const music_test::Midi& m = midi(p.name);
    std::set<int> channels;
    std::size_t drums = 0, bass = 0, high = 0;
    for (const auto& n : m.notes) {
      channels.insert(n.channel);
      if (n.channel == 9) ++drums;
      else if (n.key < 48) ++bass;
      else if (n.key >= 72) ++high;
    }
    EXPECT_GE(channels.size(), 5u);  // lead, two of harmony, bass, drums at least
    EXPECT_GT(drums, m.seconds() * 2);
    EXPECT_GT(bass, m.seconds() / 2);
    EXPECT_GT(high, 20u);
    EXPECT_GE(programs(m).size(), 4u);
    // Notes sound throughout: no stretch of 2 s without a new note.
    std::vector<std::uint32_t> starts;
    for (const auto& n : m.notes) starts.push_back(n.start);
    std::sort(starts.begin(), starts.end());
    EXPECT_LT(m.seconds_at(starts.front()), 0.5);
    for (std::size_t i = 1; i < starts.size(); ++i)
      EXPECT_LT(m.seconds_at(starts[i]) - m.seconds_at(starts[i - 1]), 2.0) << "at tick " << starts[i - 1];
  }
}

TEST(MusicFiles, EachPieceHasTheModeOfItsMood) {
  for (const Piece& p : kPieces) EXPECT_EQ(estimate_key(midi(p.name)).major, p.major) << p.name;
}

TEST(MusicFiles, ThePiecesDifferInTempoKeyAndInstruments) {
  for (std::size_t a = 0; a < std::size(kPieces); ++a)
    for (std::size_t b = a + 1; b < std::size(kPieces); ++b) {
      SCOPED_TRACE(std::string(kPieces[a].name) + " / " + kPieces[b].name);
      const music_test::Midi &ma = midi(kPieces[a].name), &mb = midi(kPieces[b].name);
      const Key ka = estimate_key(ma), kb = estimate_key(mb);
      const bool tempo = std::abs(start_bpm(ma) - start_bpm(mb)) >= 8.0;
      const bool key = ka.tonic != kb.tonic || ka.major != kb.major;
      const bool instruments = programs(ma) != programs(mb);
      EXPECT_GE(tempo + key + instruments, 2);
    }
}

TEST(MusicFiles, FluidSynthPlaysEachPieceThroughWithoutGapsOrClipping) {
  for (const Piece& p : kPieces) {
    SCOPED_TRACE(p.name);
    const std::vector<std::uint8_t> bytes = bytes_of(p.name);
    listen::RenderOptions options;
    options.gain = 0.3;   // the listening tool's level
    const listen::Rendering r = listen::render_midi(bytes, listen::kDefaultSoundfont, options);
    EXPECT_EQ(r.errors, "");
    EXPECT_EQ(r.total_ticks, midi(p.name).last_tick);
    EXPECT_NEAR(r.music_seconds, midi(p.name).seconds(), 0.1);
    const std::vector<float> mono = listen::to_mono(r.samples);
    const listen::Measures m = listen::measure(mono, r.sample_rate, r.music_seconds);
    EXPECT_LE(m.longest_silence, 2.0);
    EXPECT_LE(m.leading_silence, 0.5);
    float peak = 0.0f;
    for (float s : r.samples) peak = std::max(peak, std::abs(s));
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(m.rms_db, -30.0);  // the arrangement fills out, not a thin line
  }
}

}  // namespace
