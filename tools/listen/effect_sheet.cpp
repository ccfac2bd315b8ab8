#include "effect_sheet.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace listen {

namespace {

constexpr int kRate = 44100;

const Effect& find(const std::vector<Effect>& effects, const std::string& name) {
  for (const Effect& e : effects)
    if (e.recipe.name == name) return e;
  throw std::runtime_error("no effect named " + name);
}

// Adds `e` played at `rate_percent` with a volume step and a pan in dB (the attenuation of
// the far channel), starting at `at` seconds, the way the game's mixer plays a slot.
void play(std::vector<float>& out, const Effect& e, double at, double rate_percent, double volume_db, double pan_db) {
  const double gain = std::pow(10.0, std::min(0.0, e.base_db + volume_db) / 20.0);
  const double gl = gain * (pan_db > 0 ? std::pow(10.0, -pan_db / 20.0) : 1.0);
  const double gr = gain * (pan_db < 0 ? std::pow(10.0, pan_db / 20.0) : 1.0);
  const double step = e.recipe.sample_rate * rate_percent / 100.0 / kRate;
  const auto first = static_cast<std::size_t>(at * kRate);
  const std::size_t n = static_cast<std::size_t>((e.samples.size() - 1) / step);
  if (out.size() < 2 * (first + n + 1)) out.resize(2 * (first + n + 1), 0.0f);
  for (std::size_t i = 0; i < n; ++i) {
    const double pos = i * step;
    const auto k = static_cast<std::size_t>(pos);
    const double frac = pos - k;
    const double s = e.samples[k] * (1.0 - frac) + e.samples[k + 1] * frac;
    out[2 * (first + i)] += static_cast<float>(s * gl);
    out[2 * (first + i) + 1] += static_cast<float>(s * gr);
  }
}

}  // namespace

std::vector<float> effect_sheet(const std::vector<Effect>& effects) {
  std::vector<float> out;
  double at = 0.3;
  for (const Effect& e : effects) {
    std::vector<double> rates{100.0};
    if (e.recipe.rates.lo != 100.0) rates.push_back(e.recipe.rates.lo);
    if (e.recipe.rates.hi != 100.0 && e.recipe.rates.hi != e.recipe.rates.lo) rates.push_back(e.recipe.rates.hi);
    for (double r : rates) {
      play(out, e, at, r, 0.0, 0.0);
      at += e.recipe.length * 100.0 / r + 0.3;
    }
    at += 0.4;
  }
  out.resize(2 * static_cast<std::size_t>((at + 0.5) * kRate), 0.0f);
  return out;
}

std::vector<float> busy_mix(const std::vector<Effect>& effects, std::vector<float> music) {
  const double length = 12.0;
  music.resize(2 * static_cast<std::size_t>(length * kRate), 0.0f);
  std::vector<float> out = std::move(music);
  const Effect& valcan = find(effects, "Valcan");
  const Effect& hit = find(effects, "ValcanHit");
  const double tick = 1.0 / 70.0;
  // The Valcan held for most of the time: a shot every 4 ticks, alternating sides.
  for (int t = 70; t < 760; t += 4) {
    if (t > 420 && t < 470) continue;
    const int side = (t / 4) % 2 ? 1 : -1;
    play(out, valcan, t * tick, 110, 0, side * 5.0);
    if ((t / 4) % 3 == 0) play(out, hit, t * tick + 0.1, 110, 0, -3.0 + (t % 7));
  }
  struct Cue {
    const char* name;
    int tick;
    double rate, volume, pan;
  };
  const Cue cues[] = {
      {"WindS", 40, 100, -10, -12},   {"WindS", 90, 130, -10, 12},  {"CrashL", 150, 105, 2, -8},
      {"CrashL", 190, 112, 1, 6},     {"Fire", 210, 60, 5, 10},     {"CrashL", 240, 100, 3, 0},
      {"Fire", 260, 66, 5, -10},      {"CrashM", 300, 60, 8, 4},    {"Bonus", 330, 150, -2, -40},
      {"Bonus", 330, 151, -2, 40},    {"Wind", 360, 55, 5, -30},    {"Wind", 360, 50, 5, 30},
      {"Warning", 380, 100, 0, -70},  {"Warning", 380, 101, 0, 70}, {"Bomb", 480, 130, 0, -30},
      {"Bomb", 480, 90, 0, 30},       {"CrashM", 500, 55, 6, -6},   {"Weapon", 600, 120, 0, -60},
      {"Weapon", 600, 123, 0, 60},    {"Beam", 640, 305, 5, 8},     {"BeamHit", 650, 170, 0, 4},
      {"CrashL", 680, 110, 2, -5},    {"Kani", 700, 70, 0, 10},     {"Laser", 720, 100, -6, 0},
      {"Thunder", 740, 100, 0, -5},
  };
  for (const Cue& c : cues) play(out, find(effects, c.name), c.tick * tick, c.rate, c.volume, c.pan);
  // The bomb over loud music can pass full scale; bring the whole mix under -1 dB instead.
  float peak = 0.0f;
  for (float s : out) peak = std::max(peak, std::abs(s));
  if (peak > 0.89f)
    for (float& s : out) s *= 0.89f / peak;
  return out;
}

}  // namespace listen
