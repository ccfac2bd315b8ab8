#include "game/state_hash.h"

#include <cstdio>
#include <cstring>

namespace tz {
namespace {

constexpr std::uint64_t P1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t P2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t P3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t P4 = 0x85EBCA77C2B2AE63ull;

constexpr std::uint64_t Rotl(std::uint64_t v, int r) { return (v << r) | (v >> (64 - r)); }

std::uint64_t Load64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;  // the byte order of the machine: hashes are compared on one kind of machine
}

constexpr std::uint64_t Round(std::uint64_t acc, std::uint64_t w) { return Rotl(acc + w * P2, 31) * P1; }

constexpr std::uint64_t Avalanche(std::uint64_t h) {
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    h *= P3;
    h ^= h >> 32;
    return h;
}

}  // namespace

std::uint64_t HashBytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    const unsigned char* const end = p + n;
    std::uint64_t a = P1 + P2, b = P2, c = 0, d = 0 - P1;
    while (end - p >= 32) {
        a = Round(a, Load64(p));
        b = Round(b, Load64(p + 8));
        c = Round(c, Load64(p + 16));
        d = Round(d, Load64(p + 24));
        p += 32;
    }
    std::uint64_t h = Rotl(a, 1) + Rotl(b, 7) + Rotl(c, 12) + Rotl(d, 18);
    h ^= Round(0, a) * P1 + P4;
    h ^= Round(0, b) * P1 + P4;
    h ^= Round(0, c) * P1 + P4;
    h ^= Round(0, d) * P1 + P4;
    h += static_cast<std::uint64_t>(n);
    while (end - p >= 8) {
        h = Rotl(h ^ Round(0, Load64(p)), 27) * P1 + P4;
        p += 8;
    }
    while (p < end) {
        h = Rotl(h ^ (*p * P3), 11) * P1;
        ++p;
    }
    return Avalanche(h);
}

std::uint64_t GameStateHash(const TGameState& state) { return HashBytes(&state.Play, sizeof state.Play); }

std::uint64_t GameStateHash() { return GameStateHash(GameState); }

std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace tz
