// The presenter's costs per 640x480 frame:
//  - palette conversion 8-bit -> XRGB8888: our unrolled 256-entry lookup against SDL's own
//    8-to-32-bit SDL_BlitSurface, on the same pixels (checked identical before timing);
//  - conversion + upload + copy + present through a streaming texture on the software
//    renderer (SDL_VIDEODRIVER=dummy), XRGB8888 against ARGB8888.
// At the end it prints SDL's time over ours (goal: at least 1.15).

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/convert.h"

namespace {

constexpr int kW = 640, kH = 480;

struct Frame {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kW * kH);
    plat::Palette palette{};
    Frame() {
        // A busy picture: every index in use, no long runs (like a play field full of sprites).
        std::mt19937 rng(12345);
        for (auto& p : pixels) p = static_cast<std::uint8_t>(rng());
        for (auto& c : palette) c = {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())};
    }
    plat::FrameView view() const { return plat::FrameView{pixels.data(), kW, kW, kH}; }
};

const Frame& frame() {
    static const Frame f;
    return f;
}

// SDL's side: an INDEX8 surface over the frame's pixels with the palette, blitted to an
// XRGB8888 surface.
struct SdlSurfaces {
    SDL_Surface* src = nullptr;
    SDL_Surface* dst = nullptr;
    SdlSurfaces() {
        const Frame& f = frame();
        src = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(f.pixels.data()), kW, kH, 8, kW,
                                                 SDL_PIXELFORMAT_INDEX8);
        std::vector<SDL_Color> colors(256);
        for (std::size_t i = 0; i < 256; ++i) colors[i] = SDL_Color{f.palette[i].r, f.palette[i].g, f.palette[i].b, 255};
        SDL_SetPaletteColors(src->format->palette, colors.data(), 0, 256);
        dst = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_XRGB8888);
    }
    ~SdlSurfaces() {
        SDL_FreeSurface(src);
        SDL_FreeSurface(dst);
    }
};

void BM_Convert_Ours(benchmark::State& state) {
    const Frame& f = frame();
    std::vector<std::uint32_t> out(kW * kH);
    plat::PaletteLookup lut;
    for (auto _ : state) {
        plat::buildLookup(f.palette, lut);   // the presenter rebuilds it every frame
        plat::convertFrame(f.view(), lut, out.data(), kW * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_Convert_Ours)->Unit(benchmark::kMicrosecond);

void BM_Convert_SdlBlitSurface(benchmark::State& state) {
    SdlSurfaces s;
    for (auto _ : state) {
        SDL_BlitSurface(s.src, nullptr, s.dst, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_Convert_SdlBlitSurface)->Unit(benchmark::kMicrosecond);

// Conversion straight into a locked streaming texture, then copy and present, on the
// software renderer of the dummy video driver.
void presentThrough(benchmark::State& state, Uint32 format) {
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kW, kH, SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    SDL_Texture* texture =
        renderer ? SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, kW, kH) : nullptr;
    if (!texture) {
        state.SkipWithError(SDL_GetError());
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        return;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    const Frame& f = frame();
    plat::PaletteLookup lut;
    plat::buildLookup(f.palette, lut);
    if (SDL_ISPIXELFORMAT_ALPHA(format))
        for (auto& c : lut) c |= 0xFF000000u;
    for (auto _ : state) {
        void* pixels = nullptr;
        int pitch = 0;
        SDL_LockTexture(texture, nullptr, &pixels, &pitch);
        plat::convertFrame(f.view(), lut, pixels, pitch);
        SDL_UnlockTexture(texture);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
}

void BM_Present_XRGB8888(benchmark::State& state) { presentThrough(state, SDL_PIXELFORMAT_XRGB8888); }
void BM_Present_ARGB8888(benchmark::State& state) { presentThrough(state, SDL_PIXELFORMAT_ARGB8888); }
BENCHMARK(BM_Present_XRGB8888)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Present_ARGB8888)->Unit(benchmark::kMicrosecond);

// Remembers the fastest real and CPU time of each benchmark (over repetitions) for the
// closing ratios. On a shared machine the CPU time is the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = std::numeric_limits<double>::max();
        double cpu = std::numeric_limits<double>::max();
    };
    std::map<std::string, Times> best;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            // With --benchmark_report_aggregates_only only the aggregates come here: take
            // the medians then.
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
            Times& t = best[r.run_name.function_name];
            t.real = std::min(t.real, r.GetAdjustedRealTime());
            t.cpu = std::min(t.cpu, r.GetAdjustedCPUTime());
        }
    }
};

bool outputsIdentical() {
    const Frame& f = frame();
    SdlSurfaces s;
    if (!s.src || !s.dst) {
        std::fprintf(stderr, "SDL surfaces: %s\n", SDL_GetError());
        return false;
    }
    SDL_BlitSurface(s.src, nullptr, s.dst, nullptr);
    std::vector<std::uint32_t> ours(kW * kH);
    plat::PaletteLookup lut;
    plat::buildLookup(f.palette, lut);
    plat::convertFrame(f.view(), lut, ours.data(), kW * 4);
    for (int y = 0; y < kH; ++y) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(s.dst->pixels) + static_cast<std::ptrdiff_t>(y) * s.dst->pitch;
        if (std::memcmp(row, ours.data() + y * kW, kW * 4) != 0) {
            std::fprintf(stderr, "conversion differs from SDL_BlitSurface in row %d\n", y);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    if (!outputsIdentical()) return 1;
    std::puts("output check: our conversion and SDL_BlitSurface give identical pixels");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto ratio = [&](const char* slow, const char* fast, const char* what) {
        const auto a = reporter.best.find(slow), b = reporter.best.find(fast);
        if (a == reporter.best.end() || b == reporter.best.end()) return;
        const auto& [slowT, fastT] = std::pair{a->second, b->second};
        std::printf("%s:\n  real %.1f us / %.1f us = %.2fx, cpu %.1f us / %.1f us = %.2fx\n", what, slowT.real,
                    fastT.real, slowT.real / fastT.real, slowT.cpu, fastT.cpu, slowT.cpu / fastT.cpu);
    };
    ratio("BM_Convert_SdlBlitSurface", "BM_Convert_Ours", "conversion, SDL_BlitSurface over ours (goal >= 1.15x)");
    ratio("BM_Present_ARGB8888", "BM_Present_XRGB8888", "present, ARGB8888 over XRGB8888 texture");
    SDL_Quit();
    return 0;
}
