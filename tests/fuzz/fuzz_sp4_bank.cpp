// A bank (.sp4 and its picture) through the engine's own loading: Loaded reads every named
// bank's records at start, RealizeBank the picture and the records again. Either the bank is
// refused with a report and the engine stops, or every pattern of the table lies in its bank
// surface, its opaque runs and rotation frames lie inside what they describe, and drawing
// any pattern in every mode, rotated or not, anywhere on the screen, and hit-testing any two
// stays inside the surfaces.
//
// Input: one byte of options (bits 0-1: resolution, bit 2: fixed scaling off, bit 3: load
// the bank a second time), the .sp4's length as 4 bytes little-endian, the .sp4, then the
// picture (the rest).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "engine/bank_file.h"
#include "engine/bitmap_blit.h"
#include "engine/pen.h"
#include "engine/sprite_ex.h"
#include "engine/sprite_ex_test_access.h"
#include "engine/sprite_rec.h"
#include "platform/bitmap_loader.h"
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
    const engine::TBankRec& bank = sprite.BankData()[static_cast<std::size_t>(bankIndex)];
    Check(bank.surface != nullptr);
    const engine::Surface& surface = *bank.surface;
    for (int i = bank.first; i <= bank.first + bank.last; ++i) {
        Check(i >= 0 && i < engine::kPatternCount);
        const engine::TPatternRec& p = sprite.Patterns()[static_cast<std::size_t>(i)];
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
    const int w = sprite.ScreenWidth(), h = sprite.ScreenHeight();
    const int spots[][2] = {{0, 0}, {w / 2, h / 2}, {w - 1, h - 1}, {-20, h - 3}, {w + 5, -7}};
    const auto unrealised = static_cast<std::int16_t>(sprite.BankData()[1].first);
    auto draw = [&](int pattern, bool rotated) {
        const auto n = static_cast<std::int16_t>(pattern);
        for (const auto& spot : spots) {
            const auto x = static_cast<std::int16_t>(spot[0]), y = static_cast<std::int16_t>(spot[1]);
            for (const auto mode : {engine::TDrawMode::Plain, engine::TDrawMode::Flash, engine::TDrawMode::Add,
                                    engine::TDrawMode::Mix2}) {
                engine::TPen pen(sprite);
                pen.SetMode(mode);
                sprite.DrawPattern(x, y, n);
            }
            for (const std::uint8_t angle : {std::uint8_t{0}, std::uint8_t{37}, std::uint8_t{128}}) {
                engine::TSpriteRec s;
                s.setPos(spot[0], spot[1]);
                s.rotation = angle;
                s.pattern = n;
                if (angle == 0) sprite.DrawSprite(s);
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
        const engine::TRect clip{w / 2 - 40, h / 2 - 30, w / 2 + 40, h / 2 + 30};
        const engine::TPen pen(sprite, engine::TDrawMode::Plain, {0, 0}, clip);
        const int rotatedSpots[][2] = {{w / 2, h / 2}, {clip.left, clip.top}, {clip.right, clip.bottom}};
        for (const auto& spot : rotatedSpots) {
            for (const std::uint8_t angle : {std::uint8_t{37}, std::uint8_t{128}}) {
                engine::TSpriteRec s;
                s.setPos(spot[0], spot[1]);
                s.rotation = angle;
                s.pattern = n;
                sprite.DrawSprite(s);
            }
        }
    };
    for (int pattern = -1; pattern < 12; ++pattern) draw(pattern, pattern < 3);
    for (const int pattern : {engine::kPatternCount - 1, engine::kPatternCount}) draw(pattern, false);
}

// An engine built in storage of its own, which stays mapped from one engine to the next:
// under the sanitizers a fresh block of this size is fresh pages, and zeroing them cost
// more than most inputs.
class TEngineSlot {
public:
    TEngineSlot() = default;
    TEngineSlot(const TEngineSlot&) = delete;
    TEngineSlot& operator=(const TEngineSlot&) = delete;
    ~TEngineSlot() { reset(); }

    TSpriteEx* get() { return live_ ? engine() : nullptr; }
    TSpriteEx& make(plat::Platform& platform) {
        reset();
        new (storage_.data()) TSpriteEx(platform);
        live_ = true;
        return *engine();
    }
    void reset() {
        if (live_) engine()->~TSpriteEx();
        live_ = false;
    }

private:
    TSpriteEx* engine() { return std::launder(reinterpret_cast<TSpriteEx*>(storage_.data())); }
    alignas(TSpriteEx) std::array<std::byte, sizeof(TSpriteEx)> storage_;
    bool live_ = false;
};

// One engine per resolution and scaling, kept across inputs while it runs: building one and
// its surfaces costs more than most inputs. After each input a kept engine forgets its
// banks, so the next input starts from the table a new engine has and goes through the same
// Loaded and RealizeBank, and what an input allocated is given back within it (the fuzzer's
// leak check looks at each input alone). An engine a bank stopped is built again for the
// next input that wants it. A bank whose .sp4 or picture cannot be read at all stops any
// engine, so those inputs go to a new engine of their own (the probe) instead.
struct TFiles {
    fuzz::ProgramFolder folder;
    fuzz::QuietPlatform platform;
    std::array<TEngineSlot, 6> engines;
    TEngineSlot probe;
};

// Back to the bank table of an engine that has loaded nothing: the banks' surfaces,
// rotation sheets and runs given back, every record cleared, the layout at zero.
void ForgetBanks(TSpriteEx& sprite) {
    int used = 0;
    for (const engine::TBankRec& bank : sprite.BankData()) used = std::max(used, bank.first + bank.last + 1);
    sprite.ReleaseBanks();
    engine::TPatternTable& patterns = engine::SpriteExTestAccess::Patterns(sprite);
    for (int i = 0; i < std::min(used, engine::kPatternCount); ++i) patterns[static_cast<std::size_t>(i)] = engine::TPatternRec{};
    for (engine::TBankRec& bank : engine::SpriteExTestAccess::BankData(sprite)) {
        bank.fileName.clear();
        bank.sysMem = 0;
        bank.rotate = 0;
        bank.first = 0;
        bank.last = 0;
        bank.colorKey = 0;
    }
}

// A bank's rotation frames are drawn when it loads, each pixel of each frame of each
// rotating pattern: a bank can ask for 256 frames of a whole-screen pattern, seconds of
// work that tells nothing new about the reader, and the fuzzer drifts towards such banks
// because every further frame counts as new. Banks above the budget (pixels times frames,
// at the 640-wide size; the game's largest bank needs 104,504) are left out.
constexpr std::int64_t kRotationBudget = std::int64_t{1} << 18;
// Bank surfaces above this many pixels are left out too; the game's largest is half of it
// at 800x600.
constexpr std::int64_t kSurfaceBudget = std::int64_t{1} << 20;

// The work of the bank's rotation frames, counted up to just past the budget. Sides are
// taken up to 65,536 pixels (no surface is larger), so no product overflows.
std::int64_t RotationWork(const std::vector<engine::sp4::PatternFields>& records) {
    std::int64_t work = 0;
    auto side = [](std::int32_t from, std::int32_t to) {
        return std::clamp<std::int64_t>(std::int64_t{to} - from, 0, std::int64_t{1} << 16);
    };
    for (const engine::sp4::PatternFields& r : records) {
        if (r.rotLast == 0) continue;
        work += (std::int64_t{r.rotLast} + 1) * side(r.source.left, r.source.right) * side(r.source.top, r.source.bottom);
        if (work > kRotationBudget) break;
    }
    return work;
}

// Loads the input's bank into the engine and checks what it made of it. False when the bank
// stopped the engine.
bool LoadAndCheck(TSpriteEx& sprite, bool fresh, bool twice) {
    // The same bank twice: the second one's patterns follow the first's, known only by their
    // records (hit circles) since it is never realised.
    sprite.Banks()[0] = "fz";
    sprite.Banks()[1] = "FZ";
    sprite.Loaded();
    if (!sprite.LastFailure().empty()) {
        Check(sprite.SystemState() == engine::TSystemState::ssTerminate ||
              (fresh && sprite.SystemState() == engine::TSystemState::ssPlain));
        return false;
    }
    if (fresh) {
        sprite.Paint();
        Check(sprite.SystemState() == engine::TSystemState::ssNormal);
        sprite.SetPause(true);
    }
    sprite.RealizeBank(0);
    if (!sprite.LastFailure().empty()) {
        Check(sprite.SystemState() == engine::TSystemState::ssTerminate);
        DrawAndHit(sprite);   // a stopped engine draws nothing
        return false;
    }
    CheckTable(sprite, 0);
    DrawAndHit(sprite);
    if (!twice) return true;
    // Loaded a second time, the bank gives its patterns back first.
    sprite.RealizeBank(0);
    if (!sprite.LastFailure().empty()) return false;
    CheckTable(sprite, 0);
    return true;
}

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

    // A .sp4 the reader refuses: Loaded must refuse it too, and report it.
    {
        engine::sp4::Header header;
        std::vector<engine::sp4::PatternFields> records;
        std::string error;
        if (!engine::readBankFile(files.folder.path("fz.sp4"), header, records, error)) {
            TSpriteEx& probe = files.probe.make(files.platform);
            probe.Banks()[0] = "fz";
            probe.Loaded();
            Check(!probe.LastFailure().empty() && (probe.SystemState() == engine::TSystemState::ssPlain ||
                                                   probe.SystemState() == engine::TSystemState::ssTerminate));
            files.probe.reset();
            return 0;
        }
        if (header.rotate != 0 && RotationWork(records) > kRotationBudget) return 0;
    }

    constexpr engine::TResolution kResolutions[] = {engine::TResolution::Res_640x480x8, engine::TResolution::Res_320x240x8,
                                                    engine::TResolution::Res_800x600x8};
    auto build = [&](TEngineSlot& slot, int resolution, bool fixScaling) -> TSpriteEx& {
        TSpriteEx& made = slot.make(files.platform);
        made.SetFullScreenMode(false);
        made.SetResolution(kResolutions[resolution]);
        made.SetFixScaling(fixScaling);
        return made;
    };

    // A picture the loader refuses: RealizeBank must refuse it and stop the engine. It is
    // refused before the screen plays any part, so on a new engine with the smallest screen.
    const int resolution = (options & 3) == 3 ? 0 : options & 3;
    const bool fixScaling = (options & 4) == 0;
    {
        plat::Bitmap8 picture;
        std::string error;
        if (!plat::loadBitmap8(files.folder.path("fz.bmp"), picture, error)) {
            Check(!LoadAndCheck(build(files.probe, 1, true), true, false));
            files.probe.reset();
            return 0;
        }
        // The bank surface is the screen's width and the picture stretched to it: a narrow,
        // tall picture makes tens of millions of pixels to fill, for nothing new.
        const int width = engine::ResolutionSize(kResolutions[resolution]).width;
        if (std::int64_t{width} * engine::stretchedHeight(picture, width) > kSurfaceBudget) return 0;
    }
    TEngineSlot& slot = files.engines[static_cast<std::size_t>(resolution * 2 + (fixScaling ? 1 : 0))];
    const bool fresh = slot.get() == nullptr;
    if (fresh) build(slot, resolution, fixScaling);
    if (LoadAndCheck(*slot.get(), fresh, (options & 8) != 0)) {
        ForgetBanks(*slot.get());
    } else {
        slot.reset();
    }
    return 0;
}
