// The synthesizer's parts: recipe reading, curves, oscillators, filters, levelling and the
// wave encoder's guard against chunk tags in its text.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "audio_measure.h"
#include "curve.h"
#include "filter.h"
#include "loudness.h"
#include "oscillator.h"
#include "recipe.h"
#include "render.h"
#include "wave_file.h"

namespace {

const char* kMinimal =
    "rate 44100\nlength 0.2\nlevel -12\n"
    "expect length 0.1 0.3\nexpect peak -40 0\nexpect loudness -13 -11\n"
    "voice sine\n  freq 440\n";

std::string error_of(const std::string& text) {
  try {
    sfx::parse_recipe(text, "test", "t.sfx");
  } catch (const sfx::RecipeError& e) {
    return e.what();
  }
  return "";
}

TEST(Recipe, ReadsVoicesCurvesNotesAndDeclaredRanges) {
  const sfx::Recipe r = sfx::parse_recipe(
      "rates 50 150\ninfo \"a test\"\nfmt extended\n" + std::string(kMinimal) +
          "voice square   # comment\n  at 0.05\n  freq 1000 -> 250 0.1 exp\n"
                              "  lowpass 3000 -> 500 0.1 q 2\n  notes 0.1 0.01 A4 C#5\nmaster\n  echo 0.1 0.3 0.2\n",
      "x", "t.sfx");
  ASSERT_EQ(r.voices.size(), 2u);
  EXPECT_EQ(r.voices[1].wave, sfx::Wave::Square);
  EXPECT_DOUBLE_EQ(r.voices[1].at, 0.05);
  ASSERT_EQ(r.voices[1].filters.size(), 1u);
  EXPECT_DOUBLE_EQ(r.voices[1].filters[0].q, 2.0);
  EXPECT_NEAR(r.voices[1].filters[0].cutoff.value(0.05), 1750.0, 1e-6);
  // notes replaced the slide: A4 held for the first step, then C#5.
  EXPECT_NEAR(r.voices[1].freq.value(0.05), 440.0, 1e-9);
  EXPECT_NEAR(r.voices[1].freq.value(0.15), 554.365, 0.01);
  EXPECT_DOUBLE_EQ(r.rates.lo, 50.0);
  EXPECT_EQ(r.info, "a test");
  EXPECT_TRUE(r.fmt_extended);
  EXPECT_DOUBLE_EQ(r.master.echo.delay, 0.1);
  EXPECT_TRUE(r.expect_loudness.contains(-12.0));
}

TEST(Recipe, ErrorsNameTheLineAndTheProblem) {
  EXPECT_EQ(error_of(std::string(kMinimal) + "voice organ\n"), "t.sfx:9: unknown waveform 'organ'");
  EXPECT_EQ(error_of(std::string(kMinimal) + "  freq 440 -> 200\n"), "t.sfx:9: missing duration");
  EXPECT_EQ(error_of(std::string(kMinimal) + "  gain loud\n"), "t.sfx:9: bad gain 'loud'");
  EXPECT_EQ(error_of(std::string(kMinimal) + "  warble 3\n"), "t.sfx:9: unknown voice setting 'warble'");
  EXPECT_EQ(error_of("length 0.2\nexpect length 0.3 0.1\n"), "t.sfx:2: minimum above maximum");
  EXPECT_EQ(error_of("rate 44100\nlength 0.2\nexpect length 0.1 0.3\nexpect peak -9 0\nvoice sine\n"),
            "t.sfx: no 'expect loudness'");
}

TEST(Recipe, NoteNamesGiveEqualTemperedFrequencies) {
  EXPECT_NEAR(*sfx::note_frequency("A4"), 440.0, 1e-9);
  EXPECT_NEAR(*sfx::note_frequency("A5"), 880.0, 1e-9);
  EXPECT_NEAR(*sfx::note_frequency("C4"), 261.6256, 1e-3);
  EXPECT_NEAR(*sfx::note_frequency("Bb3"), *sfx::note_frequency("A#3"), 1e-9);
  EXPECT_FALSE(sfx::note_frequency("H4"));
  EXPECT_FALSE(sfx::note_frequency("A"));
  EXPECT_FALSE(sfx::note_frequency("A10"));
}

TEST(Curve, SlidesLinearlyExponentiallyAndHoldsAfterTheEnd) {
  sfx::Curve c(1000.0);
  c.add({100.0, 1.0, sfx::Shape::Exponential});
  c.add({0.0, 1.0, sfx::Shape::Linear});
  EXPECT_NEAR(c.value(0.5), std::sqrt(1000.0 * 100.0), 1e-9);
  EXPECT_NEAR(c.value(1.5), 50.0, 1e-9);
  EXPECT_DOUBLE_EQ(c.value(5.0), 0.0);
  EXPECT_DOUBLE_EQ(c.end(), 2.0);
  sfx::Curve to_zero(1.0);
  to_zero.add({0.0, 1.0, sfx::Shape::Exponential});
  EXPECT_NEAR(to_zero.value(0.5), 0.125, 1e-12);  // the cubic stand-in, fast then slow
}

int zero_crossings(sfx::Wave wave, double freq) {
  sfx::Oscillator osc(wave, 44100, 1);
  int n = 0;
  double prev = osc.next(freq, 0.5, 0.0);
  for (int i = 1; i < 44100; ++i) {
    const double s = osc.next(freq, 0.5, 0.0);
    if ((prev < 0.0) != (s < 0.0)) ++n;
    prev = s;
  }
  return n;
}

TEST(Oscillator, PeriodicWavesRunAtTheirFrequency) {
  for (sfx::Wave w : {sfx::Wave::Sine, sfx::Wave::Triangle, sfx::Wave::Saw, sfx::Wave::Square}) {
    EXPECT_NEAR(zero_crossings(w, 1000.0), 2000, 2) << static_cast<int>(w);
    EXPECT_NEAR(zero_crossings(w, 137.0), 274, 2) << static_cast<int>(w);
  }
}

TEST(Oscillator, HeldNoiseDarkensWithItsRate) {
  auto render = [](double rate) {
    sfx::Oscillator osc(sfx::Wave::Noise, 44100, 7);
    std::vector<double> x(16384);
    for (double& s : x) s = osc.next(rate, 0.5, 0.0);
    return x;
  };
  EXPECT_GT(sfx_test::energy_above(render(1.0e6), 44100, 5000.0), 0.6);  // white
  EXPECT_LT(sfx_test::energy_above(render(1000.0), 44100, 5000.0), 0.05);
}

double filtered_gain_db(sfx::FilterType type, double cutoff, double freq) {
  sfx::StateVariableFilter f(type, 44100);
  double peak = 0.0;
  for (int i = 0; i < 44100; ++i) {
    const double y = f.process(std::sin(2.0 * std::numbers::pi * freq * i / 44100.0), cutoff, 0.707);
    if (i > 22050) peak = std::max(peak, std::abs(y));
  }
  return 20.0 * std::log10(peak);
}

TEST(Filter, LowAndHighPassKeepTheirBandAndCutTheOther) {
  EXPECT_NEAR(filtered_gain_db(sfx::FilterType::Lowpass, 1000, 100), 0.0, 0.5);
  EXPECT_LT(filtered_gain_db(sfx::FilterType::Lowpass, 1000, 8000), -33.0);
  EXPECT_NEAR(filtered_gain_db(sfx::FilterType::Highpass, 1000, 8000), 0.0, 0.5);
  EXPECT_LT(filtered_gain_db(sfx::FilterType::Highpass, 1000, 125), -33.0);
  EXPECT_NEAR(filtered_gain_db(sfx::FilterType::Bandpass, 1000, 1000), 0.0, 0.5);
  EXPECT_LT(filtered_gain_db(sfx::FilterType::Bandpass, 1000, 10000), -15.0);
}

TEST(Levelling, TheLimiterHoldsTheCeilingAndLeavesQuietSignalsAlone) {
  sfx::Random r(3);
  std::vector<double> loud(20000), quiet(20000);
  for (std::size_t i = 0; i < loud.size(); ++i) {
    loud[i] = 3.0 * r.bipolar();
    quiet[i] = 0.3 * std::sin(i * 0.05);
  }
  std::vector<double> q = quiet;
  sfx::limit(loud, 0.9, 44100);
  sfx::limit(q, 0.9, 44100);
  EXPECT_LE(sfx::peak_db(loud), 20.0 * std::log10(0.9) + 1e-9);
  EXPECT_EQ(q, quiet);
}

TEST(Levelling, ARenderedRecipeMeetsItsLevelUnderItsCeiling) {
  sfx::Recipe r = sfx::parse_recipe(
      "rate 44100\nlength 0.5\nlevel -9\nceiling -1\nexpect length 0 1\nexpect peak -9 0\nexpect loudness -9 0\n"
      "voice noise\n  amp 1 -> 0 0.5 exp\n  drive 12\nvoice sine\n  freq 60\n  gain 6\n",
      "loud", "t.sfx");
  const std::vector<double> x = sfx::render(r);
  EXPECT_EQ(x.size(), 22050u);
  EXPECT_LE(sfx::peak_db(x), -1.0 + 1e-9);
  EXPECT_NEAR(sfx_test::weighted_loudness_db(x, 44100), -9.0, 0.1);
  EXPECT_DOUBLE_EQ(x.front(), 0.0);
  EXPECT_DOUBLE_EQ(x.back(), 0.0);
}

TEST(WaveEncoder, RefusesTextThatATagScanningLoaderWouldMistakeForAChunk) {
  const std::vector<double> s(100, 0.0);
  sfx::WaveOptions o;
  o.title = "Boom";
  o.comment = "raw data of a boom";
  EXPECT_THROW(sfx::encode_wave(s, o), std::invalid_argument);
  o.comment = "a boom";
  EXPECT_NO_THROW(sfx::encode_wave(s, o));
}

}  // namespace
