#pragma once
// Checking a standard MIDI file before the synthesizer gets it. The synthesizer reads a file
// only while it plays it, on the audio thread, and a fault it finds there just ends the
// piece in silence; checked here, a bad file is reported when it is opened and the game
// plays on without it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace audio {

// A tempo change: from Tick on, a quarter note lasts MicrosPerQuarter microseconds.
struct TMidiTempo {
    std::uint32_t Tick = 0;
    std::uint32_t MicrosPerQuarter = 500000;
};

struct TMidiCheck {
    bool Ok = false;
    std::uint16_t Format = 0;
    std::uint16_t Tracks = 0;
    std::uint16_t Division = 0;   // ticks per quarter note
    std::vector<TMidiTempo> Tempos;   // of every track, in the order of their ticks
    std::uint32_t EndTick = 0;        // where the longest track ends
    std::string Error;
};

// Accepts what the synthesizer plays: an "MThd" chunk of length 6 at the start, format 0
// (one track) or 1, 1 to 128 tracks, a tick division (not SMPTE), then as many "MTrk"
// chunks as announced, each inside the file (other chunks between them are skipped), whose
// events all parse within the chunk: delta times of at most four bytes, running status only
// after a channel message, data bytes below 0x80, system-exclusive and meta events with
// their lengths inside the chunk, and the meta events of fixed size (end of track, tempo,
// SMPTE offset, time and key signature) at that size. The rest of a track after its end
// event is not read. A file that is accepted comes with its timing: the tempo changes and
// the tick its longest track ends at.
TMidiCheck CheckMidi(std::span<const std::uint8_t> file);

}  // namespace audio
