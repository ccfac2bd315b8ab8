#pragma once
// A strict reader of Standard MIDI Files for the tests, written apart from the compiler's
// writer: every chunk length, every event and the end of every track are checked.
#include <cstdint>
#include <string>
#include <vector>

namespace music_test {

struct MidiNote {
  std::uint32_t start = 0, end = 0;
  int channel = 0, key = 0, velocity = 0;
};

struct Midi {
  int format = 0;
  int division = 0;
  int track_count = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos;  // tick, microseconds a quarter
  std::vector<std::pair<int, int>> programs;                    // channel, program
  std::vector<MidiNote> notes;
  std::uint32_t last_tick = 0;  // the latest end of track

  double seconds_at(std::uint32_t tick) const;
  double seconds() const { return seconds_at(last_tick); }
};

// Throws std::runtime_error naming the problem and its byte offset.
Midi parse_midi(const std::vector<std::uint8_t>& bytes);

}  // namespace music_test
