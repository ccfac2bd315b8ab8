#pragma once
// The .sp4 bank layout file: a 6-byte header (SysMem byte, Rotate byte, Last as a 32-bit
// signed little-endian count - 1) followed by Last + 1 pattern records of 100 bytes.
// This header holds the decoded record and the byte-exact encode/decode of one record.

#include <array>
#include <cstdint>
#include <cstring>

namespace engine::sp4 {

inline constexpr int kHeaderSize = 6;
inline constexpr int kRecordSize = 100;

struct HitCircle {
    std::int16_t radius = 0, x = 0, y = 0;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The fields of one pattern record as stored in the file. Offsets in the comments.
struct PatternFields {
    std::array<std::uint8_t, 18> reserved0{};  // 0
    std::uint8_t bank = 0;                     // 18: overwritten at load with the bank number
    std::uint8_t reserved19 = 0;               // 19
    Rect source;                               // 20: rectangle in the bank surface
    std::int16_t originX = 0, originY = 0;     // 36, 38: hot spot
    std::int16_t anchorX = 0, anchorY = 0;     // 40, 42: point rotated with the pattern
    std::int8_t hitLast = -1;                  // 44: circle count - 1 (<= 3); negative = none
    std::uint8_t reserved45 = 0;               // 45
    std::array<HitCircle, 4> hits{};           // 46: radius, x, y each
    std::uint8_t reserved70 = 0;               // 70
    std::uint8_t rotLast = 0;                  // 71: pre-rotated frames - 1; 0 = none
    // 72..99: reserved and the two run-time rotation caches, zero in the file
};

struct Header {
    std::uint8_t sysMem = 0;
    std::uint8_t rotate = 0;
    std::int32_t last = -1;
};

namespace detail {
inline std::int16_t rd16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
inline std::int32_t rd32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}
inline void wr16(std::uint8_t* p, std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
}
inline void wr32(std::uint8_t* p, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}
}  // namespace detail

inline Header decodeHeader(const std::uint8_t* p) {
    return Header{p[0], p[1], detail::rd32(p + 2)};
}

inline void encodeHeader(const Header& h, std::uint8_t* p) {
    p[0] = h.sysMem;
    p[1] = h.rotate;
    detail::wr32(p + 2, h.last);
}

inline PatternFields decodeRecord(const std::uint8_t* p) {
    using namespace detail;
    PatternFields f;
    std::memcpy(f.reserved0.data(), p, 18);
    f.bank = p[18];
    f.reserved19 = p[19];
    f.source = Rect{rd32(p + 20), rd32(p + 24), rd32(p + 28), rd32(p + 32)};
    f.originX = rd16(p + 36);
    f.originY = rd16(p + 38);
    f.anchorX = rd16(p + 40);
    f.anchorY = rd16(p + 42);
    f.hitLast = static_cast<std::int8_t>(p[44]);
    f.reserved45 = p[45];
    for (int i = 0; i < 4; ++i) {
        f.hits[static_cast<std::size_t>(i)] = HitCircle{rd16(p + 46 + 6 * i), rd16(p + 48 + 6 * i), rd16(p + 50 + 6 * i)};
    }
    f.reserved70 = p[70];
    f.rotLast = p[71];
    return f;
}

inline void encodeRecord(const PatternFields& f, std::uint8_t* p) {
    using namespace detail;
    std::memset(p, 0, kRecordSize);
    std::memcpy(p, f.reserved0.data(), 18);
    p[18] = f.bank;
    p[19] = f.reserved19;
    wr32(p + 20, f.source.left);
    wr32(p + 24, f.source.top);
    wr32(p + 28, f.source.right);
    wr32(p + 32, f.source.bottom);
    wr16(p + 36, f.originX);
    wr16(p + 38, f.originY);
    wr16(p + 40, f.anchorX);
    wr16(p + 42, f.anchorY);
    p[44] = static_cast<std::uint8_t>(f.hitLast);
    p[45] = f.reserved45;
    for (int i = 0; i < 4; ++i) {
        const auto& h = f.hits[static_cast<std::size_t>(i)];
        wr16(p + 46 + 6 * i, h.radius);
        wr16(p + 48 + 6 * i, h.x);
        wr16(p + 50 + 6 * i, h.y);
    }
    p[70] = f.reserved70;
    p[71] = f.rotLast;
}

}  // namespace engine::sp4
