// MIDI pieces through the music player's open path (MusicOpen, before any synthesizer sees
// the file): a piece opens exactly when the check accepts it, a refused piece leaves nothing
// open or playing, and whatever the check accepts really holds every track it announces
// inside the file. Bytes after the last announced track are never read, so appending to an
// accepted piece keeps it accepted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "audio/midi_check.h"
#include "audio/music.h"
#include "fuzz_input.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::uint32_t BigEndian32(std::span<const std::uint8_t> b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// The "MTrk" chunks met walking the chunk headers from the first after MThd, up to the
// first chunk that does not fit in the file.
int TracksInside(std::span<const std::uint8_t> file) {
    int tracks = 0;
    std::size_t at = 14;
    while (file.size() >= 8 && at <= file.size() - 8) {
        const std::uint64_t length = BigEndian32(file, at + 4);
        if (length > file.size() - at - 8) break;
        if (file[at] == 'M' && file[at + 1] == 'T' && file[at + 2] == 'r' && file[at + 3] == 'k') ++tracks;
        at += 8 + static_cast<std::size_t>(length);
    }
    return tracks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;

    const audio::TMidiCheck check = audio::CheckMidi(bytes);
    Check(check.Ok || !check.Error.empty());
    const bool opened = audio::MusicOpen(file.path(), "fuzz");
    Check(opened == check.Ok);
    Check(audio::MusicFilePlayable(file.path(), "fuzz") == check.Ok);
    Check(!audio::MusicPlaying());
    // With no synthesizer the piece still counts as playing once opened: the game's state
    // never depends on a sound device.
    audio::MusicPlay();
    Check(audio::MusicPlaying() == opened);
    audio::StopMusic();
    Check(!audio::MusicPlaying());

    if (!check.Ok) return 0;
    Check(check.Format <= 1 && check.Tracks >= 1 && check.Tracks <= 128);
    Check(check.Division != 0 && (check.Division & 0x8000) == 0);
    Check(TracksInside(bytes) >= check.Tracks);

    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.insert(longer.end(), {0x4D, 0x54, 0x72, 0x6B, 0xFF, 0xFF, 0xFF, 0xFF, 0x80});
    const audio::TMidiCheck again = audio::CheckMidi(longer);
    Check(again.Ok && again.Tracks == check.Tracks);
    return 0;
}
