#pragma once
// Time in a checked MIDI piece: milliseconds from its start to a tick and back, through its
// tempo changes, as the synthesizer's player counts them (120 beats a minute until the first
// change).

#include <cstdint>

#include "audio/midi_check.h"

namespace audio {

// The time of tick in the piece, in ms.
double MidiTickMs(const TMidiCheck& piece, std::uint32_t tick);
// The tick at ms (rounded to the nearest; 0 for ms <= 0).
std::uint32_t MidiMsTick(const TMidiCheck& piece, double ms);
// The piece's length: the time of its end tick.
inline double MidiLengthMs(const TMidiCheck& piece) { return MidiTickMs(piece, piece.EndTick); }

}  // namespace audio
