#include "palette.h"

#include <algorithm>
#include <cmath>
#include <atomic>

namespace art {

namespace {

struct Lab {
    float L, a, b;
};

float srgbToLinear(float c) { return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f); }
float linearToSrgb(float c) { return c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f; }

Lab toOklab(Rgbf c) {
    const float r = srgbToLinear(c.r), g = srgbToLinear(c.g), b = srgbToLinear(c.b);
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

// Linear RGB of an OKLab colour (may lie outside 0..1).
Rgbf oklabToLinear(Lab c) {
    const float l_ = c.L + 0.3963377774f * c.a + 0.2158037573f * c.b;
    const float m_ = c.L - 0.1055613458f * c.a - 0.0638541728f * c.b;
    const float s_ = c.L - 0.0894841775f * c.a - 1.2914855480f * c.b;
    const float l = l_ * l_ * l_, m = m_ * m_ * m_, s = s_ * s_ * s_;
    return {+4.0767416621f * l - 3.3077115913f * m + 0.2309699292f * s,
            -1.2684380046f * l + 2.6097574011f * m - 0.3413193965f * s,
            -0.0041960863f * l - 0.7034186147f * m + 1.7076147010f * s};
}

// sRGB of a colour given by lightness, chroma and hue, chroma reduced until it fits.
Rgbf fromLch(float L, float C, float hueDeg) {
    const float h = hueDeg * 3.14159265f / 180.0f;
    for (int i = 0; i < 40; ++i) {
        const Rgbf lin = oklabToLinear({L, C * std::cos(h), C * std::sin(h)});
        if (lin.r >= -0.0005f && lin.g >= -0.0005f && lin.b >= -0.0005f && lin.r <= 1.0005f && lin.g <= 1.0005f && lin.b <= 1.0005f) {
            return {linearToSrgb(std::clamp(lin.r, 0.0f, 1.0f)), linearToSrgb(std::clamp(lin.g, 0.0f, 1.0f)),
                    linearToSrgb(std::clamp(lin.b, 0.0f, 1.0f))};
        }
        C *= 0.92f;
    }
    const float v = linearToSrgb(std::clamp(L * L * L, 0.0f, 1.0f));
    return {v, v, v};
}

struct RampSpec {
    float hue, chroma, lo, hi, hueShift;  // hueShift: hue turn toward the light end (warm highlights)
};

// Hue (OKLab degrees), peak chroma, lightness range; indexed by Ramp.
constexpr std::array<RampSpec, static_cast<std::size_t>(Ramp::Count)> kRamps{{
    {250, 0.012f, 0.13f, 0.97f, 0},    // Grey: a touch of blue keeps metal cool
    {245, 0.075f, 0.14f, 0.97f, -10},  // Steel blue
    {170, 0.040f, 0.14f, 0.95f, -20},  // Gunmetal green
    {50, 0.100f, 0.14f, 0.95f, 20},    // Rust and brown
    {27, 0.230f, 0.15f, 0.96f, 25},    // Hot red
    {50, 0.190f, 0.16f, 0.97f, 30},    // Fire orange
    {88, 0.170f, 0.16f, 0.98f, 8},     // Gold
    {138, 0.210f, 0.15f, 0.97f, -8},   // Toxic green
    {205, 0.150f, 0.15f, 0.98f, 0},    // Cyan
    {300, 0.170f, 0.14f, 0.96f, 10},   // Violet
    {352, 0.240f, 0.15f, 0.97f, 0},    // Magenta-pink
    {262, 0.120f, 0.10f, 0.92f, -20},  // Navy: title sky and planet night side
    {190, 0.100f, 0.12f, 0.95f, 0},    // Teal: planet seas
    {75, 0.070f, 0.15f, 0.96f, 5},     // Sand: planet land, warm metal
    {315, 0.100f, 0.12f, 0.94f, 40},   // Dusk: sky glow over the horizon
}};

Rgbf rampStep(Ramp r, int step) {
    const RampSpec& s = kRamps[static_cast<std::size_t>(r)];
    const float t = static_cast<float>(step) / 15.0f;
    const float L = s.lo + (s.hi - s.lo) * t;
    // Chroma peaks a little below the middle and falls to nothing at both ends.
    const float bell = std::pow(std::max(0.0f, std::sin(3.14159265f * std::pow(t, 0.85f))), 0.8f);
    return fromLch(L, s.chroma * bell, s.hue + s.hueShift * t);
}

struct Built {
    plat::Palette pal{};
    std::array<Lab, 256> lab{};
};

Built build() {
    Built b;
    auto set = [&](int i, Rgbf c) {
        b.pal[static_cast<std::size_t>(i)] = plat::Rgb{static_cast<std::uint8_t>(std::lround(std::clamp(c.r, 0.f, 1.f) * 255)),
                                                      static_cast<std::uint8_t>(std::lround(std::clamp(c.g, 0.f, 1.f) * 255)),
                                                      static_cast<std::uint8_t>(std::lround(std::clamp(c.b, 0.f, 1.f) * 255))};
    };
    set(0, {0, 0, 0});
    for (int r = 0; r < static_cast<int>(Ramp::Count); ++r)
        for (int k = 0; k < kRampSteps; ++k) set(rampIndex(static_cast<Ramp>(r), k), rampStep(static_cast<Ramp>(r), k));
    // 241..247: greys halfway between the grey ramp's middle steps (smooth metal).
    for (int k = 0; k < 7; ++k) set(241 + k, fromLch(0.13f + 0.84f * (static_cast<float>(k + 4) + 0.5f) / 15.0f, 0.01f, 250));
    // 248..254: pale tints of the bright colours (bullet cores, glints, text highlights).
    set(248, fromLch(0.93f, 0.06f, 205));  // pale cyan
    set(249, fromLch(0.94f, 0.08f, 92));   // pale gold
    set(250, fromLch(0.90f, 0.09f, 352));  // pale pink
    set(251, fromLch(0.90f, 0.05f, 250));  // pale blue
    set(252, fromLch(0.92f, 0.07f, 55));   // pale orange
    set(253, fromLch(0.90f, 0.08f, 138));  // pale green
    set(254, fromLch(0.90f, 0.07f, 300));  // pale violet
    set(255, {1, 1, 1});
    for (int i = 0; i < 256; ++i) {
        const plat::Rgb& c = b.pal[static_cast<std::size_t>(i)];
        b.lab[static_cast<std::size_t>(i)] = toOklab({c.r / 255.0f, c.g / 255.0f, c.b / 255.0f});
    }
    return b;
}

const Built& built() {
    static const Built b = build();
    return b;
}

}  // namespace

const plat::Palette& palette() { return built().pal; }

Rgbf paletteColour(std::uint8_t index) {
    const plat::Rgb& c = palette()[index];
    return {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f};
}

Rgbf rampColour(Ramp r, float t) {
    const float x = std::clamp(t, 0.0f, 1.0f) * 15.0f;
    const int i = std::min(14, static_cast<int>(x));
    return mix(paletteColour(rampIndex(r, i)), paletteColour(rampIndex(r, i + 1)), x - static_cast<float>(i));
}

std::uint8_t nearestIndex(Rgbf c) {
    // Cached per 6-bit cube cell; the search itself weighs lightness above hue so shading
    // stays on the expected step.
    static std::array<std::atomic<std::int16_t>, 64 * 64 * 64> cache;
    static const bool ready = [] {
        for (auto& v : cache) v.store(-1, std::memory_order_relaxed);
        return true;
    }();
    (void)ready;
    const auto q = [](float v) { return std::clamp(static_cast<int>(v * 63.0f + 0.5f), 0, 63); };
    const int key = (q(c.r) << 12) | (q(c.g) << 6) | q(c.b);
    std::atomic<std::int16_t>& slot = cache[static_cast<std::size_t>(key)];
    const std::int16_t known = slot.load(std::memory_order_relaxed);
    if (known >= 0) return static_cast<std::uint8_t>(known);
    const Lab p = toOklab({static_cast<float>(key >> 12) / 63.0f, static_cast<float>((key >> 6) & 63) / 63.0f,
                           static_cast<float>(key & 63) / 63.0f});
    const auto& lab = built().lab;
    int best = 1;
    float bestD = 1e9f;
    for (int i = 1; i < 256; ++i) {
        const Lab& e = lab[static_cast<std::size_t>(i)];
        const float dL = (e.L - p.L) * 1.4f, da = e.a - p.a, db = e.b - p.b;
        const float d = dL * dL + da * da + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    slot.store(static_cast<std::int16_t>(best), std::memory_order_relaxed);
    return static_cast<std::uint8_t>(best);
}

}  // namespace art
