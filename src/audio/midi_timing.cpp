#include "audio/midi_timing.h"

#include <cmath>

namespace audio {
namespace {

// The player's tempo before the piece sets one: 120 beats a minute.
constexpr double kDefaultMicrosPerQuarter = 500000.0;

double MsPerTick(double microsPerQuarter, std::uint16_t division) {
    return microsPerQuarter / 1000.0 / (division != 0 ? division : 1);
}

}  // namespace

double MidiTickMs(const TMidiCheck& piece, std::uint32_t tick) {
    double ms = 0.0;
    double tempo = kDefaultMicrosPerQuarter;
    std::uint32_t from = 0;
    for (const TMidiTempo& change : piece.Tempos) {
        if (change.Tick >= tick) break;
        ms += (change.Tick - from) * MsPerTick(tempo, piece.Division);
        from = change.Tick;
        tempo = change.MicrosPerQuarter;
    }
    return ms + (tick - from) * MsPerTick(tempo, piece.Division);
}

std::uint32_t MidiMsTick(const TMidiCheck& piece, double ms) {
    if (!(ms > 0.0)) return 0;
    double at = 0.0;   // the time of tick `from`
    double tempo = kDefaultMicrosPerQuarter;
    std::uint32_t from = 0;
    for (const TMidiTempo& change : piece.Tempos) {
        const double next = at + (change.Tick - from) * MsPerTick(tempo, piece.Division);
        if (next >= ms) break;
        at = next;
        from = change.Tick;
        tempo = change.MicrosPerQuarter;
    }
    const double ticks = from + (ms - at) / MsPerTick(tempo, piece.Division);
    return ticks >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(std::lround(ticks));
}

}  // namespace audio
