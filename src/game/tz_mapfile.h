#pragma once
// The stage map file "Map<n>.map" (little-endian):
//   int32 N                      index of the last spawn entry; -1 = no entries
//   (N + 1) x 7 bytes            entries: int16 X, int16 Y, uint16 Param, uint8 Kind
//   256 x int16                  group bonus
//   256 x int16                  group member count
// The reader is shared by the game (LoadMap) and the map compiler in tools/maps.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/tz_spawnentry.h"

namespace tz {

// A map that cannot be read: the message names the file and what is wrong with it.
class TMapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t MapEntryBytes = 7;
inline constexpr std::size_t MapGroupCount = 256;
inline constexpr std::size_t MapGroupTableBytes = MapGroupCount * 2;
// SpawnList holds 2048 entries; the last one is the game objects' scratch entry, so a map
// holds at most 2047 (N <= 2046).
inline constexpr std::int32_t MapMaxEntries = 2047;

struct TMapData {
    std::vector<TSpawnEntry> Entries;                 // SpawnList[0..N]
    std::array<std::int16_t, MapGroupCount> GroupBonus{};
    std::array<std::int16_t, MapGroupCount> GroupCount{};
};

// Serialises a map; throws TMapError when it has more than MapMaxEntries entries.
std::vector<std::uint8_t> EncodeMap(const TMapData& map);

// Parses and checks a whole map file image. Refuses (TMapError naming fileName) a negative
// N other than -1, more than MapMaxEntries entries, and an image shorter than its header
// announces. Bytes after the group tables are ignored.
TMapData DecodeMap(std::span<const std::uint8_t> bytes, const std::string& fileName);

}  // namespace tz
