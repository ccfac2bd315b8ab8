#pragma once
// Shared game math: 16.16 fixed point positions, byte directions (256 steps per turn,
// 0 = right, 64 = down, 128 = left, 192 = up), sine/cosine/arc-tangent tables scaled by
// 1024, and the small clamp/step helpers every game object uses.
//
// The tables are computed at compile time, so they are valid during static initialisation
// and identical on every machine (replays depend on every value).

#include <array>
#include <cstdint>

namespace tz {

inline constexpr std::int32_t TrigScale = 1024;

// A pair of 16.16 fixed-point numbers (x, then y).
struct TFixedPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TFixedPoint&, const TFixedPoint&) = default;
};

// The whole-pixel part of a 16.16 value: its high 16 bits read as a signed 16-bit number.
constexpr std::int16_t WholePart(std::int32_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(v) >> 16);
}

// Replaces the whole-pixel part of a 16.16 value and keeps its fraction.
constexpr std::int32_t WithWholePart(std::int32_t v, std::int16_t whole) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(whole)) << 16) |
                                     (static_cast<std::uint32_t>(v) & 0xFFFFu));
}

// 32-bit arithmetic that wraps like the machine's registers (signed overflow is otherwise
// undefined in C++). Used where the game's results depend on the wrapped value.
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Rounds to the nearest integer, halves to the even neighbour (the FPU's default mode).
constexpr std::int64_t RoundEven(long double x) {
    auto f = static_cast<std::int64_t>(x);          // toward zero
    if (static_cast<long double>(f) > x) --f;       // floor
    const long double frac = x - static_cast<long double>(f);
    if (frac > 0.5L) return f + 1;
    if (frac < 0.5L) return f;
    return (f % 2 == 0) ? f : f + 1;
}

namespace detail {

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

// sin(d * pi / 128) for a direction d, by quadrant symmetry and a Taylor series on
// [0, pi/2]; accurate far beyond what rounding to 1/1024 needs.
constexpr long double SinOfDirection(int d) {
    d = ((d % 256) + 256) % 256;
    const int quadrant = d / 64;
    int r = d % 64;
    if (quadrant == 1 || quadrant == 3) r = 64 - r;
    const long double x = static_cast<long double>(r) * kPi / 128.0L;
    long double term = x, sum = x;
    for (int n = 1; n < 30; ++n) {
        term *= -x * x / static_cast<long double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return quadrant >= 2 ? -sum : sum;
}

// A table indexed by direction -1 .. 255 (257 entries).
struct DirectionTable {
    std::array<std::int32_t, 257> v{};
    constexpr std::int32_t operator[](int d) const { return v[static_cast<std::size_t>(d + 1)]; }
};

constexpr DirectionTable MakeTrigTable(int phase) {
    DirectionTable t;
    for (int d = -1; d <= 255; ++d)
        t.v[static_cast<std::size_t>(d + 1)] =
            static_cast<std::int32_t>(RoundEven(SinOfDirection(d + phase) * TrigScale));
    return t;
}

}  // namespace detail

// Sine and cosine x 1024 for directions -1 .. 255: SinTab[d], CosTab[d].
inline constexpr detail::DirectionTable SinTab = detail::MakeTrigTable(0);
inline constexpr detail::DirectionTable CosTab = detail::MakeTrigTable(64);

// Mean of the tangents (x 1024) of directions i-1 and i, for i = 0 .. 63; entry 64 = 32767.
// GetDirection searches it for the first entry not below a tangent.
inline constexpr std::array<std::int16_t, 65> AtanTab = [] {
    std::array<std::int16_t, 65> t{};
    for (int i = 0; i < 64; ++i) {
        const long double a = static_cast<long double>(SinTab[i]) * 1024.0L / CosTab[i];
        const long double b = static_cast<long double>(SinTab[i - 1]) * 1024.0L / CosTab[i - 1];
        t[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(RoundEven((a + b) / 2.0L));
    }
    t[64] = 32767;
    return t;
}();

// Sine and cosine x 1024 of a direction byte.
constexpr std::int32_t Sin(std::uint8_t d) { return SinTab[d]; }
constexpr std::int32_t Cos(std::uint8_t d) { return CosTab[d]; }

// P = (A, B).
constexpr void SetPair(std::int32_t A, std::int32_t B, TFixedPoint& P) { P = {A, B}; }

// P = (X, Y) in whole pixels, fractions 0.
constexpr void ToFixed(std::int16_t X, std::int16_t Y, TFixedPoint& P) {
    P = {static_cast<std::int32_t>(X) * 65536, static_cast<std::int32_t>(Y) * 65536};
}

// Keeps V within Lo..Hi; true when V had to be changed.
constexpr bool Clamp(std::int32_t Lo, std::int32_t& V, std::int32_t Hi) {
    if (V < Lo) { V = Lo; return true; }
    if (V > Hi) { V = Hi; return true; }
    return false;
}

// V reduced into 0 .. N-1 by whole periods of N; V unchanged when N < 1.
constexpr std::int32_t WrapRange(std::int32_t V, std::int32_t N) {
    if (N < 1) return V;
    std::int64_t r = static_cast<std::int64_t>(V) % N;
    if (r < 0) r += N;
    return static_cast<std::int32_t>(r);
}

constexpr std::int32_t Sign(std::int32_t V) { return (V > 0) - (V < 0); }

// Moves V by Step toward Target; lands on Target when it is closer than Step.
constexpr void Approach(std::int32_t& V, std::int32_t Target, std::int32_t Step) {
    const std::int64_t diff = static_cast<std::int64_t>(Target) - V;
    if ((diff < 0 ? -diff : diff) < Step) { V = Target; return; }
    V = static_cast<std::int32_t>(diff >= 0 ? static_cast<std::int64_t>(V) + Step
                                            : static_cast<std::int64_t>(V) - Step);
}

// Length of (DX, DY), rounded to nearest (halves to even). The squares are summed in 64 bits,
// so it stays exact beyond the 46340-pixel range the game needs.
std::int32_t GetDistance(std::int32_t DX, std::int32_t DY);

// DX^2 + DY^2 < R^2 (strict), without overflow.
constexpr bool InCircle(std::int32_t DX, std::int32_t DY, std::int32_t R) {
    const std::int64_t dx = DX, dy = DY, r = R;
    return dx * dx + dy * dy < r * r;
}

// Direction byte of the vector (DX, DY), by searching AtanTab. The search stops at the first
// entry not below the tangent, so results lie one step past the nearest direction in the
// first and third quadrants: (1, 0) gives 1, (10, 10) gives 33. Aimed shots rely on this.
// DY * 1024 is formed in wrapping 32-bit arithmetic, as the game's push rule expects.
std::uint8_t GetDirection(std::int32_t DX, std::int32_t DY);

}  // namespace tz
