#pragma once
// A compiled piece: tracks of timed notes and controller changes, and a tempo map, on a
// grid of `division` ticks per quarter note.
#include <cstdint>
#include <string>
#include <vector>

namespace mml {

struct Note {
  std::uint32_t start = 0;
  std::uint32_t duration = 0;  // sounding length in ticks (after the gate)
  std::uint8_t key = 60;
  std::uint8_t velocity = 100;
};

// A channel message other than a note: a program change (controller < 0) or a controller.
struct Control {
  std::uint32_t tick = 0;
  int controller = -1;
  std::uint8_t value = 0;
};

struct TempoChange {
  std::uint32_t tick = 0;
  double bpm = 120.0;
};

struct Track {
  std::string name;
  int channel = 0;  // 0..15; 9 is the drum channel of General MIDI
  std::vector<Note> notes;
  std::vector<Control> controls;
  std::uint32_t length = 0;  // ticks up to the end of the last note or rest
};

struct Score {
  std::string title;
  int division = 480;
  int meter_numerator = 4;
  int meter_denominator = 4;
  std::vector<TempoChange> tempos;  // sorted; the first is at tick 0
  std::vector<Track> tracks;

  std::uint32_t length() const;         // ticks: the longest track
  double seconds_at(std::uint32_t tick) const;  // through the tempo map
};

}  // namespace mml
