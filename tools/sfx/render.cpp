#include "render.h"

#include <cmath>
#include <numbers>

#include "loudness.h"

namespace sfx {

namespace {

double db_to_gain(double db) { return std::pow(10.0, db / 20.0); }

// A smooth random wander in -1..1: random targets `rate` times a second, joined by cosine
// ramps.
class Wander {
 public:
  Wander(double rate, double sample_rate, std::uint64_t seed)
      : step_(rate / sample_rate), random_(seed ^ 0xA5A5A5A5ull), from_(random_.bipolar()),
        to_(random_.bipolar()) {}
  double next() {
    if (step_ <= 0.0) return 0.0;
    pos_ += step_;
    if (pos_ >= 1.0) {
      pos_ -= 1.0;
      from_ = to_;
      to_ = random_.bipolar();
    }
    return from_ + (to_ - from_) * (0.5 - 0.5 * std::cos(std::numbers::pi * pos_));
  }

 private:
  double step_;
  Random random_;
  double from_, to_;
  double pos_ = 0.0;
};

void apply_filters(std::vector<double>& samples, const std::vector<FilterSpec>& filters,
                   int sample_rate, std::size_t first) {
  for (const FilterSpec& f : filters) {
    StateVariableFilter svf(f.type, sample_rate);
    for (std::size_t i = first; i < samples.size(); ++i) {
      const double t = static_cast<double>(i - first) / sample_rate;
      samples[i] = svf.process(samples[i], f.cutoff.value(t), f.q);
    }
  }
}

void apply_drive(std::vector<double>& samples, double drive_db) {
  if (drive_db <= 0.0) return;
  const double g = db_to_gain(drive_db);
  for (double& s : samples) s = std::tanh(s * g);
}

}  // namespace

std::vector<double> render_voice(const VoiceSpec& v, int sample_rate, std::size_t frames) {
  std::vector<double> out(frames, 0.0);
  const std::size_t first = static_cast<std::size_t>(std::lround(v.at * sample_rate));
  if (first >= frames) return out;
  const double dt = 1.0 / sample_rate;
  for (int u = 0; u < v.unison; ++u) {
    // Copies spread evenly over +-unison_cents, each with its own noise and phase.
    const double spread = v.unison > 1 ? (2.0 * u / (v.unison - 1) - 1.0) : 0.0;
    const double detune = std::pow(2.0, spread * v.unison_cents / 1200.0);
    Oscillator osc(v.wave, sample_rate, v.seed * 7919 + u);
    Oscillator modulator(Wave::Sine, sample_rate, v.seed);
    Wander wander(v.jitter.rate, sample_rate, v.seed + u);
    for (std::size_t i = first; i < frames; ++i) {
      const double t = (i - first) * dt;
      double semis = wander.next() * v.jitter.depth;
      if (v.vibrato.rate > 0.0) semis += v.vibrato.depth * std::sin(2.0 * std::numbers::pi * v.vibrato.rate * t);
      const double f = v.freq.value(t) * detune * std::pow(2.0, semis / 12.0);
      double pm = 0.0;
      if (v.fm_ratio > 0.0) pm = v.fm_index.value(t) * modulator.next(f * v.fm_ratio, 0.5, 0.0);
      double s = osc.next(f, v.duty.value(t), pm) * v.amp.value(t);
      if (v.tremolo.rate > 0.0)
        s *= 1.0 - v.tremolo.depth * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * v.tremolo.rate * t));
      if (v.ring > 0.0) s *= std::sin(2.0 * std::numbers::pi * v.ring * t);
      out[i] += s / v.unison;
    }
  }
  apply_filters(out, v.filters, sample_rate, first);
  apply_drive(out, v.drive_db);
  const double g = db_to_gain(v.gain_db);
  for (double& s : out) s *= g;
  return out;
}

std::vector<double> render_mix(const Recipe& r) {
  const std::size_t frames = static_cast<std::size_t>(std::lround(r.length * r.sample_rate));
  std::vector<double> mix(frames, 0.0);
  for (const VoiceSpec& v : r.voices) {
    const std::vector<double> voice = render_voice(v, r.sample_rate, frames);
    for (std::size_t i = 0; i < frames; ++i) mix[i] += voice[i];
  }
  apply_filters(mix, r.master.filters, r.sample_rate, 0);
  apply_drive(mix, r.master.drive_db);
  if (r.master.echo.delay > 0.0) {
    const std::size_t d = std::max<std::size_t>(1, std::lround(r.master.echo.delay * r.sample_rate));
    std::vector<double> line(frames, 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
      const double back = i >= d ? line[i - d] : 0.0;
      line[i] = mix[i] + back * r.master.echo.feedback;
      mix[i] += back * r.master.echo.mix;
    }
  }
  DcBlocker dc(r.sample_rate);
  for (double& s : mix) s = dc.process(s);
  return mix;
}

std::vector<double> render(const Recipe& r) {
  const std::vector<double> mix = render_mix(r);
  const double ceiling = db_to_gain(r.ceiling_db);
  // Limiting lowers the loudness a little; a few rounds of correction settle the gain.
  double gain_db = r.level_db - loudness_db(mix, r.sample_rate);
  std::vector<double> out;
  for (int round = 0; round < 6; ++round) {
    out = mix;
    const double g = db_to_gain(gain_db);
    for (double& s : out) s *= g;
    limit(out, ceiling, r.sample_rate);
    fade_ends(out, r.fade_in, r.fade_out, r.sample_rate);
    const double error = r.level_db - loudness_db(out, r.sample_rate);
    if (std::abs(error) < 0.05) break;
    gain_db += error;
  }
  return out;
}

}  // namespace sfx
