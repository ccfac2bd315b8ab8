// A bank (.sp4 and its picture) through the engine's own loading: Loaded reads every named
// bank's records at start, RealizeBank the picture and the records again. Either the bank is
// refused with a report and the engine stops, or every pattern of the table lies in its bank
// surface, its opaque runs and rotation frames lie inside what they describe, and drawing
// any pattern in every mode, rotated or not, anywhere on the screen, and hit-testing any two
// stays inside the surfaces.
//
// Input: one byte of options (bits 0-1: resolution, bit 2: fixed scaling off), the .sp4's
// length as 4 bytes little-endian, the .sp4, then the picture (the rest).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/bank_file.h"
#include "engine/sprite_ex.h"
#include "engine/sprite_rec.h"
#include "fuzz_engine.h"

namespace {

using engine::TSpriteEx;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Inside(const engine::TRect& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= width && r.bottom <= height;
}

// The table of a realised bank: sources in the surface, runs in their rows, frames in the sheet.
void CheckTable(const TSpriteEx& sprite, int bankIndex) {
    const engine::TBankRec& bank = sprite.FBankData[static_cast<std::size_t>(bankIndex)];
    Check(bank.surface != nullptr);
    const engine::Surface& surface = *bank.surface;
    for (int i = bank.first; i <= bank.first + bank.last; ++i) {
        Check(i >= 0 && i < engine::kPatternCount);
        const engine::TPatternRec& p = sprite.FPatterns[static_cast<std::size_t>(i)];
        Check(p.bank == bankIndex);
        Check(engine::sourceInside(p.source, surface.width, surface.height));
        if (!p.runs.empty()) {
            Check(p.runs.rowStart.size() == static_cast<std::size_t>(p.height()) + 1);
            Check(p.runs.rowStart.back() == p.runs.runs.size());
            for (const engine::TOpaqueRun& run : p.runs.runs) Check(run.start + run.length <= p.width());
        }
        const engine::TRotationCache& cache = p.rotCache;
        if (cache.surface != nullptr) {
            Check(cache.frames.size() == static_cast<std::size_t>(p.rotLast) + 1);
            for (const engine::TRotationFrame& f : cache.frames)
                Check(Inside(f.bounds, cache.surface->width, cache.surface->height));
        }
    }
}

// The first patterns of the table (the realised bank's, then the other bank's, known only by
// its records) and the numbers at and past its end, drawn in each mode at the corners, the
// middle and just off the screen, and hit-tested against the next pattern and against the
// first pattern of the bank never realised. The first few are drawn rotated too (live
// rotation is slow, so into a small clip rectangle).
void DrawAndHit(TSpriteEx& sprite) {
    const int w = sprite.FScreenWidth, h = sprite.FScreenHeight;
    const int spots[][2] = {{0, 0}, {w / 2, h / 2}, {w - 1, h - 1}, {-20, h - 3}, {w + 5, -7}};
    const auto unrealised = static_cast<std::int16_t>(sprite.FBankData[1].first);
    auto draw = [&](int pattern, bool rotated) {
        const auto n = static_cast<std::int16_t>(pattern);
        for (const auto& spot : spots) {
            const auto x = static_cast<std::int16_t>(spot[0]), y = static_cast<std::int16_t>(spot[1]);
            for (std::uint8_t mode = 0; mode < 4; ++mode) {
                sprite.FDrawMode = mode;
                sprite.DrawPattern(x, y, n);
            }
            sprite.FDrawMode = 0;
            for (const std::uint8_t angle : {std::uint8_t{0}, std::uint8_t{37}, std::uint8_t{128}}) {
                engine::TSpriteRec s;
                s.setPos(spot[0], spot[1]);
                s.rotation = angle;
                s.pattern = n;
                if (angle == 0) sprite.DrawSprite(sprite.FBackBuffer, s);
                engine::TSpriteRec other = s;
                other.rotation = static_cast<std::uint8_t>(angle + 64);
                for (const std::int16_t against : {static_cast<std::int16_t>(n + 1), unrealised}) {
                    other.pattern = against;
                    (void)sprite.SpriteHit(s, other);
                }
            }
        }
        if (!rotated) return;
        // Rotated, into a small clip rectangle in the middle (rows outside it cost nothing),
        // centred on it and on its corners.
        const engine::TRect full = sprite.FClipRect;
        const engine::TRect clip{w / 2 - 40, h / 2 - 30, w / 2 + 40, h / 2 + 30};
        sprite.FClipRect = clip;
        const int rotatedSpots[][2] = {{w / 2, h / 2}, {clip.left, clip.top}, {clip.right, clip.bottom}};
        for (const auto& spot : rotatedSpots) {
            for (const std::uint8_t angle : {std::uint8_t{37}, std::uint8_t{128}}) {
                engine::TSpriteRec s;
                s.setPos(spot[0], spot[1]);
                s.rotation = angle;
                s.pattern = n;
                sprite.DrawSprite(sprite.FBackBuffer, s);
            }
        }
        sprite.FClipRect = full;
    };
    for (int pattern = -1; pattern < 12; ++pattern) draw(pattern, pattern < 3);
    for (const int pattern : {engine::kPatternCount - 1, engine::kPatternCount}) draw(pattern, false);
}

struct TFiles {
    fuzz::ProgramFolder folder;
    fuzz::QuietPlatform platform;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFiles files;
    if (size < 5) return 0;
    const std::uint8_t options = data[0];
    const std::size_t sp4Size = std::min<std::size_t>(
        size - 5, std::uint32_t{data[1]} | (std::uint32_t{data[2]} << 8) | (std::uint32_t{data[3]} << 16) |
                      (std::uint32_t{data[4]} << 24));
    if (!files.folder.write("fz.sp4", data + 5, sp4Size) ||
        !files.folder.write("fz.bmp", data + 5 + sp4Size, size - 5 - sp4Size))
        return 0;

    auto sprite = std::make_unique<TSpriteEx>(files.platform);
    constexpr engine::TResolution kResolutions[] = {engine::TResolution::Res_640x480x8, engine::TResolution::Res_320x240x8,
                                                    engine::TResolution::Res_800x600x8, engine::TResolution::Res_640x480x8};
    sprite->SetFullScreenMode(false);
    sprite->SetResolution(kResolutions[options & 3]);
    sprite->SetFixScaling((options & 4) == 0);
    // The same bank twice: the second one's patterns follow the first's, known only by their
    // records (hit circles) since it is never realised.
    sprite->Banks()[0] = "fz";
    sprite->Banks()[1] = "FZ";
    sprite->Loaded();
    if (!sprite->LastFailure().empty()) {
        Check(sprite->SystemState() == engine::TSystemState::ssTerminate || sprite->SystemState() == engine::TSystemState::ssPlain);
        return 0;
    }
    sprite->Paint();
    Check(sprite->SystemState() == engine::TSystemState::ssNormal);
    sprite->SetPause(true);
    sprite->RealizeBank(0);
    if (!sprite->LastFailure().empty()) {
        Check(sprite->SystemState() == engine::TSystemState::ssTerminate);
        DrawAndHit(*sprite);   // a stopped engine draws nothing
        return 0;
    }
    CheckTable(*sprite, 0);
    DrawAndHit(*sprite);
    // Loaded a second time, the bank gives its patterns back first.
    sprite->RealizeBank(0);
    if (sprite->LastFailure().empty()) CheckTable(*sprite, 0);
    return 0;
}
