// Stage maps: any bytes are either a map or refused with a TMapError, never a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "game/tz_mapfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const tz::TMapData map = tz::DecodeMap(std::span<const std::uint8_t>(data, size), "fuzz.map");
        // What was accepted encodes back to the same bytes' meaning.
        (void)tz::EncodeMap(map);
    } catch (const tz::TMapError&) {
    }
    return 0;
}
