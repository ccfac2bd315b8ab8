#include "score.h"

#include <algorithm>

namespace mml {

std::uint32_t Score::length() const {
  std::uint32_t n = 0;
  for (const Track& t : tracks) n = std::max(n, t.length);
  return n;
}

double Score::seconds_at(std::uint32_t tick) const {
  double seconds = 0.0;
  std::uint32_t at = 0;
  double bpm = tempos.empty() ? 120.0 : tempos.front().bpm;
  for (const TempoChange& t : tempos) {
    if (t.tick >= tick) break;
    seconds += (t.tick - at) * 60.0 / (bpm * division);
    at = t.tick;
    bpm = t.bpm;
  }
  return seconds + (tick - at) * 60.0 / (bpm * division);
}

}  // namespace mml
