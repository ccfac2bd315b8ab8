#include "game/tz_mapfile.h"

namespace tz {
namespace {

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint16_t GetLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t GetLe32(const std::uint8_t* p) {
    const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(u);
}

[[noreturn]] void Refuse(const std::string& fileName, const std::string& why) {
    throw TMapError("stage map \"" + fileName + "\": " + why);
}

}  // namespace

std::vector<std::uint8_t> EncodeMap(const TMapData& map) {
    if (map.Entries.size() > static_cast<std::size_t>(MapMaxEntries))
        throw TMapError("stage map has " + std::to_string(map.Entries.size()) + " entries; at most " +
                        std::to_string(MapMaxEntries) + " fit");
    std::vector<std::uint8_t> out;
    out.reserve(4 + map.Entries.size() * MapEntryBytes + 2 * MapGroupTableBytes);
    const auto n = static_cast<std::uint32_t>(static_cast<std::int32_t>(map.Entries.size()) - 1);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    for (const TSpawnEntry& e : map.Entries) {
        PutLe16(out, static_cast<std::uint16_t>(e.X));
        PutLe16(out, static_cast<std::uint16_t>(e.Y));
        PutLe16(out, e.Param);
        out.push_back(e.Kind);
    }
    for (std::int16_t v : map.GroupBonus) PutLe16(out, static_cast<std::uint16_t>(v));
    for (std::int16_t v : map.GroupCount) PutLe16(out, static_cast<std::uint16_t>(v));
    return out;
}

TMapData DecodeMap(std::span<const std::uint8_t> bytes, const std::string& fileName) {
    if (bytes.size() < 4)
        Refuse(fileName, "the file is " + std::to_string(bytes.size()) + " bytes long, too short for its header");
    const std::int32_t n = GetLe32(bytes.data());
    if (n < -1) Refuse(fileName, "negative entry count (N = " + std::to_string(n) + ")");
    if (n >= MapMaxEntries)
        Refuse(fileName, std::to_string(static_cast<std::int64_t>(n) + 1) + " entries; at most " +
                             std::to_string(MapMaxEntries) + " fit");
    const std::size_t count = static_cast<std::size_t>(n + 1);
    const std::size_t need = 4 + count * MapEntryBytes + 2 * MapGroupTableBytes;
    if (bytes.size() < need)
        Refuse(fileName, "the file is " + std::to_string(bytes.size()) + " bytes long but its header announces " +
                             std::to_string(need));
    TMapData map;
    map.Entries.resize(count);
    const std::uint8_t* p = bytes.data() + 4;
    for (TSpawnEntry& e : map.Entries) {
        e.X = static_cast<std::int16_t>(GetLe16(p));
        e.Y = static_cast<std::int16_t>(GetLe16(p + 2));
        e.Param = GetLe16(p + 4);
        e.Kind = p[6];
        p += MapEntryBytes;
    }
    for (std::int16_t& v : map.GroupBonus) { v = static_cast<std::int16_t>(GetLe16(p)); p += 2; }
    for (std::int16_t& v : map.GroupCount) { v = static_cast<std::int16_t>(GetLe16(p)); p += 2; }
    return map;
}

}  // namespace tz
