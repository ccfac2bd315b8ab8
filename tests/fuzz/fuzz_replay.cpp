// Replay files: loaded or refused with a message; a refused file leaves the playback as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "game/tz_replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    tz::ReplayMode = false;
    tz::ReplayLength = 0;
    const tz::TReplayResult r = tz::LoadReplay(file.path());
    if (r.Ok) {
        if (!tz::ReplayMode || tz::ReplayLength < 0 || tz::ReplayLength > tz::ReplayBufferSize) std::abort();
    } else if (tz::ReplayMode || r.Error.empty()) {
        std::abort();
    }
    const tz::TReplayListLine line = tz::ReplayListLine(file.path());
    (void)line;
    return 0;
}
