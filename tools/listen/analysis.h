#pragma once
// Measurements of rendered audio for the listening report: level, gaps, spectrum, onsets.
#include <span>
#include <vector>

namespace listen {

struct Measures {
  double seconds = 0.0;
  double peak_db = 0.0;
  double rms_db = 0.0;
  double longest_silence = 0.0;  // seconds, below -50 dBFS in 50 ms frames, up to `until`
  double leading_silence = 0.0;
  double centroid_hz = 0.0;      // energy-weighted mean of the spectrum
  double low = 0.0, mid = 0.0, high = 0.0;  // energy below 250 Hz, 250..4000 Hz, above
  double onsets_per_second = 0.0;
};

// `mono` at `rate`; silence is looked for up to `until` seconds (the end of the music).
Measures measure(std::span<const float> mono, int rate, double until);

std::vector<float> to_mono(std::span<const float> interleaved_stereo);

}  // namespace listen
