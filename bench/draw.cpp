// Colour-keyed sprite drawing: the engine's DrawPattern (a bank loaded from .sp4 and .bmp
// files, drawn on the back buffer) against SDL's RLE-accelerated colour-key blit of the
// same pixels on 8-bit surfaces, with identical output pixels checked first. Prints the
// time ratios (SDL time / engine time) at the end.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <filesystem>

#include "engine/blit.h"
#include "engine/bmp8.h"
#include "engine/draw_modes.h"
#include "engine/pen.h"
#include "engine/sp4_writer.h"
#include "engine/sprite_ex.h"
#include "core/data_path.h"
#include "platform/convert.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr engine::TRect kPlayField{128, 0, 512, 480};
constexpr std::uint8_t kKey = 0;

struct Sprite {
    engine::TRect source;
    int originX, originY;
};

// Sizes in the bank: 16, 32, 64, 128 square and a 384x200 boss.
constexpr int kSizes[][2] = {{16, 16}, {32, 32}, {64, 64}, {128, 128}, {384, 200}};
constexpr int kSizeCount = 5;

struct Scene {
    engine::Surface bank{kW, 203};
    std::vector<Sprite> sprites;
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform();
    std::unique_ptr<engine::TSpriteEx> sprite;
    engine::Surface* frame = nullptr;   // the engine's back buffer
    SDL_Surface* sdlBank = nullptr;
    SDL_Surface* sdlFrame = nullptr;
    SDL_Surface* sdl32 = nullptr;
    SDL_Palette* palette = nullptr;
    plat::PaletteLookup lookup{};
    std::vector<std::uint32_t> out32 = std::vector<std::uint32_t>(kW * kH);
};

std::uint32_t hash(std::uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}

// About half of each sprite is transparent: a diamond (half the box) with a few holes.
void paintSprite(engine::Surface& s, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5 - w / 2.0) / w, dy = (y + 0.5 - h / 2.0) / h;
            bool opaque = (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) <= 0.5;
            if (w >= 64 && ((x / (w / 8)) % 4 == 1) && ((y / (h / 8)) % 4 == 1)) opaque = false;  // windows
            s.row(y0 + y)[x0 + x] = opaque ? static_cast<std::uint8_t>(1 + hash(static_cast<std::uint32_t>(x * 977 + y)) % 254) : kKey;
        }
    }
}

Scene* gScene = nullptr;

void buildScene() {
    auto* sc = new Scene;
    sc->bank.colorKey = kKey;
    sc->bank.hasColorKey = true;
    int x = 0;
    for (const auto& sz : kSizes) {
        Sprite sp;
        sp.source = {x, 1, x + sz[0], 1 + sz[1]};
        sp.originX = sz[0] / 2;
        sp.originY = sz[1] / 2;
        paintSprite(sc->bank, x, 1, sz[0], sz[1]);
        sc->sprites.push_back(std::move(sp));
        x += sz[0];
    }
    plat::Palette pal{};
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
        pal[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)};
        colours[i] = {pal[static_cast<std::size_t>(i)].r, pal[static_cast<std::size_t>(i)].g, pal[static_cast<std::size_t>(i)].b, 255};
    }
    plat::buildLookup(pal, sc->lookup);
    // The same bank as files, loaded by the engine.
    const auto dir = std::filesystem::temp_directory_path() / "korrindal_bench_draw";
    std::filesystem::create_directories(dir);
    engine::bmp8::Image img(sc->bank.width, sc->bank.height);
    img.palette = pal;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) img.at(x, y) = sc->bank.row(y)[x];
    std::vector<engine::sp4::PatternFields> pats;
    for (const Sprite& sp : sc->sprites) {
        engine::sp4::PatternFields f;
        f.source = sp.source;
        f.originX = static_cast<std::int16_t>(sp.originX);
        f.originY = static_cast<std::int16_t>(sp.originY);
        pats.push_back(f);
    }
    engine::bmp8::write((dir / "benchbank.bmp").string(), img);
    engine::sp4::writeFile((dir / "benchbank.sp4").string(), engine::sp4::headerFor(pats), pats);
    tz::SetProgramDir(dir.string());
    sc->sprite = std::make_unique<engine::TSpriteEx>(*sc->platform);
    engine::TSpriteEx& e = *sc->sprite;
    e.SetFullScreenMode(false);
    e.SetExternalClock(true);
    e.Banks()[0] = "benchbank";
    e.Loaded();
    e.Paint();
    e.SetPause(true);
    e.RealizeBank(0);
    if (!e.LastFailure().empty() || e.BackBuffer() == nullptr) {
        std::fprintf(stderr, "engine start failed: %s\n", e.LastFailure().c_str());
        std::exit(1);
    }
    sc->frame = e.BackBuffer();
    sc->palette = SDL_AllocPalette(256);
    SDL_SetPaletteColors(sc->palette, colours, 0, 256);
    sc->sdlBank = SDL_CreateRGBSurfaceWithFormat(0, sc->bank.width, sc->bank.height, 8, SDL_PIXELFORMAT_INDEX8);
    sc->sdlFrame = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 8, SDL_PIXELFORMAT_INDEX8);
    sc->sdl32 = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_RGB888);
    SDL_SetSurfacePalette(sc->sdlBank, sc->palette);
    SDL_SetSurfacePalette(sc->sdlFrame, sc->palette);
    for (int y = 0; y < sc->bank.height; ++y)
        std::memcpy(static_cast<std::uint8_t*>(sc->sdlBank->pixels) + y * sc->sdlBank->pitch, sc->bank.row(y),
                    static_cast<std::size_t>(sc->bank.width));
    SDL_SetColorKey(sc->sdlBank, SDL_TRUE, kKey);
    SDL_SetSurfaceRLE(sc->sdlBank, 1);
    const SDL_Rect clip{kPlayField.left, kPlayField.top, kPlayField.right - kPlayField.left, kPlayField.bottom - kPlayField.top};
    SDL_SetClipRect(sc->sdlFrame, &clip);
    gScene = sc;
}

struct Draw {
    int sprite, x, y;   // hot-spot position
};

// Positions spread over the play field and across its edges.
std::vector<Draw> makeDraws(int sprite, int count, std::uint32_t seed) {
    std::vector<Draw> d;
    const int w = kSizes[sprite][0], h = kSizes[sprite][1];
    for (int i = 0; i < count; ++i) {
        const std::uint32_t r = hash(seed + static_cast<std::uint32_t>(i) * 2654435761U);
        const int x = kPlayField.left - w / 4 + static_cast<int>(r % static_cast<std::uint32_t>(384 + w / 2));
        const int y = -h / 4 + static_cast<int>((r >> 12) % static_cast<std::uint32_t>(kH + h / 2));
        d.push_back({sprite, x, y});
    }
    return d;
}

// The heavy frame: 400 bullets of 16x16, 60 of 32x32, 10 of 64x64 and one boss.
std::vector<Draw> heavyFrame() {
    std::vector<Draw> d;
    for (const auto& [sprite, count] : {std::pair{3, 0}, std::pair{4, 1}, std::pair{2, 10}, std::pair{1, 60}, std::pair{0, 400}}) {
        auto part = makeDraws(sprite, count, 1000u + static_cast<std::uint32_t>(sprite));
        d.insert(d.end(), part.begin(), part.end());
    }
    return d;
}

void drawOurs(const std::vector<Draw>& draws) {
    engine::TSpriteEx& e = *gScene->sprite;
    const engine::TPen pen(e, engine::TDrawMode::Plain, {0, 0}, kPlayField);
    for (const Draw& dr : draws)
        e.DrawPattern(static_cast<std::int16_t>(dr.x), static_cast<std::int16_t>(dr.y), static_cast<std::int16_t>(dr.sprite));
}

void drawSdl(const std::vector<Draw>& draws) {
    Scene& sc = *gScene;
    for (const Draw& dr : draws) {
        const Sprite& sp = sc.sprites[static_cast<std::size_t>(dr.sprite)];
        SDL_Rect src{sp.source.left, sp.source.top, sp.source.right - sp.source.left, sp.source.bottom - sp.source.top};
        SDL_Rect dst{dr.x - sp.originX, dr.y - sp.originY, 0, 0};
        SDL_BlitSurface(sc.sdlBank, &src, sc.sdlFrame, &dst);
    }
}

void clearOurs() {
    engine::Surface& f = *gScene->frame;
    for (int y = 0; y < kH; ++y) std::memset(f.row(y) + kPlayField.left, 0, 384);
}
void clearSdlMemset() {
    SDL_Surface* f = gScene->sdlFrame;
    for (int y = 0; y < kH; ++y) std::memset(static_cast<std::uint8_t*>(f->pixels) + y * f->pitch + kPlayField.left, 0, 384);
}
void clearSdlFill() {
    const SDL_Rect r{kPlayField.left, 0, 384, kH};
    SDL_FillRect(gScene->sdlFrame, &r, 0);
}
void convertOurs() {
    const plat::FrameView v{gScene->frame->pixels.data(), gScene->frame->pitch, kW, kH};
    plat::convertFrame(v, gScene->lookup, gScene->out32.data(), kW * 4);
}
void convertSdl() { SDL_BlitSurface(gScene->sdlFrame, nullptr, gScene->sdl32, nullptr); }

bool framesEqual() {
    for (int y = 0; y < kH; ++y)
        if (std::memcmp(gScene->frame->row(y), static_cast<std::uint8_t*>(gScene->sdlFrame->pixels) + y * gScene->sdlFrame->pitch, kW) != 0)
            return false;
    return true;
}

const char* kSizeNames[] = {"16x16", "32x32", "64x64", "128x128", "boss384x200"};
std::vector<Draw> gDraws[kSizeCount];
std::vector<Draw> gHeavy;

void BM_Engine(benchmark::State& st) {
    const auto& d = gDraws[st.range(0)];
    for (auto _ : st) drawOurs(d);
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * d.size()));
}
void BM_SdlRle(benchmark::State& st) {
    const auto& d = gDraws[st.range(0)];
    for (auto _ : st) drawSdl(d);
    st.SetItemsProcessed(static_cast<std::int64_t>(st.iterations() * d.size()));
}
void BM_HeavyFrameEngine(benchmark::State& st) {
    for (auto _ : st) {
        clearOurs();
        drawOurs(gHeavy);
    }
}
void BM_HeavyFrameSdlRle(benchmark::State& st) {
    for (auto _ : st) {
        clearSdlMemset();
        drawSdl(gHeavy);
    }
}
void BM_HeavyFrameSdlRleFillRect(benchmark::State& st) {
    for (auto _ : st) {
        clearSdlFill();
        drawSdl(gHeavy);
    }
}
void BM_WholeFrameEngine(benchmark::State& st) {
    for (auto _ : st) {
        clearOurs();
        drawOurs(gHeavy);
        convertOurs();
    }
}
void BM_WholeFrameSdl(benchmark::State& st) {
    for (auto _ : st) {
        clearSdlMemset();
        drawSdl(gHeavy);
        convertSdl();
    }
}

// Collects the CPU time of every run to print the ratios at the end (CPU time, because the
// machines here are shared and wall time swings with their load).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    SDL_SetMainReady();
    buildScene();
    // Sprites per iteration: many small ones, fewer large ones.
    const int counts[kSizeCount] = {400, 200, 60, 16, 4};
    for (int i = 0; i < kSizeCount; ++i) gDraws[i] = makeDraws(i, counts[i], 77u * static_cast<std::uint32_t>(i + 1));
    gHeavy = heavyFrame();

    // The same pixels from both paths, for every size and the heavy frame.
    bool identical = true;
    for (int i = 0; i <= kSizeCount; ++i) {
        const auto& d = i < kSizeCount ? gDraws[i] : gHeavy;
        for (std::size_t k = 0; k < gScene->frame->pixels.size(); ++k) gScene->frame->pixels[k] = static_cast<std::uint8_t>(k * 31);
        for (int y = 0; y < kH; ++y) std::memcpy(static_cast<std::uint8_t*>(gScene->sdlFrame->pixels) + y * gScene->sdlFrame->pitch, gScene->frame->row(y), kW);
        drawOurs(d);
        drawSdl(d);
        const bool same = framesEqual();
        std::printf("pixels %-12s %s\n", i < kSizeCount ? kSizeNames[i] : "heavy frame", same ? "identical" : "DIFFER");
        identical = identical && same;
    }
    std::printf("row kernels: %s\n", engine::currentBlitIsa() == engine::BlitIsa::Avx2 ? "AVX2"
                                    : engine::currentBlitIsa() == engine::BlitIsa::Sse2 ? "SSE2" : "scalar");
    if (!identical) return 1;

    for (int i = 0; i < kSizeCount; ++i) {
        benchmark::RegisterBenchmark((std::string("Engine/") + kSizeNames[i]).c_str(), BM_Engine)->Arg(i);
        benchmark::RegisterBenchmark((std::string("SdlRle/") + kSizeNames[i]).c_str(), BM_SdlRle)->Arg(i);
    }
    benchmark::RegisterBenchmark("HeavyFrame/Engine", BM_HeavyFrameEngine);
    benchmark::RegisterBenchmark("HeavyFrame/SdlRle", BM_HeavyFrameSdlRle);
    benchmark::RegisterBenchmark("HeavyFrame/SdlRleFillRect", BM_HeavyFrameSdlRleFillRect);
    benchmark::RegisterBenchmark("WholeFrame/Engine", BM_WholeFrameEngine);
    benchmark::RegisterBenchmark("WholeFrame/Sdl", BM_WholeFrameSdl);
    benchmark::Initialize(&argc, argv);
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);

    auto ratio = [&](const std::string& sdl, const std::string& ours) {
        const auto a = rep.times.find(sdl), b = rep.times.find(ours);
        return (a == rep.times.end() || b == rep.times.end() || b->second <= 0) ? 0.0 : a->second / b->second;
    };
    std::printf("\nSpeed-up of the engine over SDL (SDL CPU time / engine CPU time):\n");
    for (int i = 0; i < kSizeCount; ++i) {
        const std::string n = std::string("/") + kSizeNames[i] + "/" + std::to_string(i);
        std::printf("  %-14s %5.2fx  (goal %s)\n", kSizeNames[i], ratio("SdlRle" + n, "Engine" + n), i < 2 ? ">= 2x" : ">= 0.9x");
    }
    std::printf("  %-14s %5.2fx  (goal >= 2x; both cleared with memset)\n", "heavy frame", ratio("HeavyFrame/SdlRle", "HeavyFrame/Engine"));
    std::printf("  %-14s %5.2fx  (SDL cleared with SDL_FillRect)\n", "heavy frame", ratio("HeavyFrame/SdlRleFillRect", "HeavyFrame/Engine"));
    std::printf("  %-14s %5.2fx  (goal >= 1.35x; frame + 8-to-32-bit conversion)\n", "whole frame", ratio("WholeFrame/Sdl", "WholeFrame/Engine"));
    benchmark::Shutdown();
    SDL_FreeSurface(gScene->sdlBank);
    SDL_FreeSurface(gScene->sdlFrame);
    SDL_FreeSurface(gScene->sdl32);
    SDL_FreePalette(gScene->palette);
    delete gScene;
    return 0;
}
