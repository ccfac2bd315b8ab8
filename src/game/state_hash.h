#pragma once
// A hash of the whole game state: FNV-1a (64 bits) fed field by field in little-endian byte
// order, never over pointers or padding, so equal states give equal hashes in any process.
// Every module that owns game state adds its tables to GameStateHash().

#include <cstddef>
#include <cstdint>
#include <string>

namespace tz {

class StateHasher {
public:
    static constexpr std::uint64_t kOffset = 14695981039346656037ull;
    static constexpr std::uint64_t kPrime = 1099511628211ull;

    void Byte(std::uint8_t b) {
        h_ ^= b;
        h_ *= kPrime;
    }
    void Bool(bool v) { Byte(v ? 1 : 0); }
    void U8(std::uint8_t v) { Byte(v); }
    void I8(std::int8_t v) { Byte(static_cast<std::uint8_t>(v)); }
    void U16(std::uint16_t v) {
        Byte(static_cast<std::uint8_t>(v));
        Byte(static_cast<std::uint8_t>(v >> 8));
    }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void U64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Bytes(const std::uint8_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) Byte(p[i]);
    }
    std::uint64_t Value() const { return h_; }

private:
    std::uint64_t h_ = kOffset;
};

// The hash of every global and table the tick reads or writes.
std::uint64_t GameStateHash();

// 16 lower-case hexadecimal digits.
std::string HashText(std::uint64_t hash);

}  // namespace tz
