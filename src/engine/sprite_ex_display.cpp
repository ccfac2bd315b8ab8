// TSpriteEx: the display (window state, Initialize, ReleaseAll), the managed surface list
// that survives focus loss, single surfaces and the palette.

#include <algorithm>
#include <cstring>

#include "engine/sprite_ex.h"

namespace engine {
namespace {

// Width of the resolution class that SizeRate scales against.
int OriginWidth(TResolution origin) {
    switch (static_cast<int>(origin)) {
        case 0: case 1: return 320;
        case 4: case 5: return 800;
        default: return 640;
    }
}

// Nearest-neighbour stretch of a whole source picture onto (0, 0, dw, dh) of dst, clipped
// to dst. Equal sizes make it a plain row copy.
void StretchOnto(const std::uint8_t* src, int srcPitch, int sw, int sh, Surface& dst, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const int w = std::min(dw, dst.width);
    const int h = std::min(dh, dst.height);
    for (int y = 0; y < h; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * sh / dh);
        const std::uint8_t* s = src + static_cast<std::ptrdiff_t>(sy) * srcPitch;
        std::uint8_t* d = dst.row(y);
        if (sw == dw) {
            std::memcpy(d, s, static_cast<std::size_t>(w));
        } else {
            for (int x = 0; x < w; ++x) d[x] = s[static_cast<std::int64_t>(x) * sw / dw];
        }
    }
}

// The largest height a surface may be asked for (the list stores heights in 16 bits).
constexpr int kMaxSurfaceHeight = 65535;

}  // namespace

void TSpriteEx::SetupWindowState() {
    const auto size = ResolutionSize(FResolution);
    FScreenWidth = size.width;
    FScreenHeight = size.height;
    FBitsPerPixel = 8;   // the presenter converts: the display always runs at 8 bits
    FClipRect = TRect{0, 0, FScreenWidth, FScreenHeight};
    FSizeRate = FFixScaling ? FScreenWidth * 4 / OriginWidth(FSizeOrigin) : 4;
    FPlatform.display().setFullScreen(FFullScreenMode);
}

bool TSpriteEx::Initialize() {
    const auto state = SystemState();
    if (state == TSystemState::ssTerminate) return false;
    if (state != TSystemState::ssPlain && state != TSystemState::ssChangeScreen) {
        Fail("Init.DoubleInit");
        return false;
    }
    FSystemState = TSystemState::ssTriedInit;
    auto& display = FPlatform.display();
    if (FHideCursor) display.setCursorVisible(false);

    const int w = FScreenWidth, h = FScreenHeight;
    const bool full = FFullScreenMode;
    auto step = [&](const char* name, plat::DisplayStep s) { return CheckResult(name, display.runStep(s, w, h, full)); };

    FDisplayReady = true;   // from here on ReleaseAll gives the display back
    if (!step("Init.CreateDD", plat::DisplayStep::CreateDevice)) return false;
    // Entries 0 and 255 are black and white whatever the pictures say.
    FPaletteEntries[0] = plat::Rgb{0, 0, 0};
    FPaletteEntries[255] = plat::Rgb{255, 255, 255};
    if (full) {
        if (!step("Init.SetExclusiveLevel", plat::DisplayStep::SetLevel)) return false;
        if (!step("Init.CreateFullPrimary", plat::DisplayStep::CreatePrimary)) return false;
    } else {
        if (!step("Init.SetNormalLevel", plat::DisplayStep::SetLevel)) return false;
        if (!step("Init.CreateNormalPrimary", plat::DisplayStep::CreatePrimary)) return false;
        if (!step("Init.GetDiaplayMode", plat::DisplayStep::QueryMode)) return false;
    }
    // The presenter shows every frame through the palette, in a window as well.
    if (!step("Init.CreatePalette", plat::DisplayStep::CreatePalette)) return false;
    FDDPalette = FPaletteEntries;
    FHasPalette = true;
    FSysColors = {FPaletteEntries[8], FPaletteEntries[9], FPaletteEntries[246], FPaletteEntries[247]};

    // Both screen surfaces start cleared to colour 0.
    FPrimary = std::make_unique<Surface>(w, h);
    FBackBuffer = std::make_unique<Surface>(w, h);
    FPresentFrame.resize(w, h);

    if (!FBackGround.empty()) SetPaletteFromBitmap(FBackGround.palette);
    if (!FStarted && !FBackGround.empty()) {
        AddSurface(FBackSurface, FScreenHeight, false, false);
        CopyBackGround();
    }
    return SystemState() != TSystemState::ssTerminate;
}

void TSpriteEx::ReleaseAll() {
    SetPause(true);
    if (OnRelease) OnRelease();
    if (FDisplayReady) {
        for (auto& bank : FBankData) bank.surface.reset();
        if (SystemState() == TSystemState::ssTerminate) {
            ReleaseBanks();
            for (auto& image : FSurfaceImages) image.reset();
            FSurfacesStored = false;
        }
        FBackBuffer.reset();
        FPrimary.reset();
        FHasPalette = false;
        FPlatform.display().release();
        FDisplayReady = false;
    }
    if (FHideCursor) FPlatform.display().setCursorVisible(true);
    if (SystemState() != TSystemState::ssTerminate) FSystemState = TSystemState::ssPlain;
}

// ---- Managed surfaces --------------------------------------------------------------------

int TSpriteEx::RealizeSurface(SurfacePtr& Surface, int Height, bool SysMem) {
    if (!Running()) return 999;
    if (!FDisplayReady) {
        Fail("RealizeSurface.NotInit");
        return 999;
    }
    if (Surface) {
        ReleaseSurface(Surface);
        if (SystemState() == TSystemState::ssTerminate) return 999;
    }
    if (Height <= 0 || Height > kMaxSurfaceHeight) {
        Fail("RealizeSurface.CreateSueface");
        return 999;
    }
    Surface = std::make_unique<engine::Surface>(FScreenWidth, Height);
    Surface->sysMem = SysMem || FDebugOptions.contains(TDebugOption::doSysMemOnly);
    return 0;
}

void TSpriteEx::AddSurface(SurfacePtr& Surface, int Height, bool SysMem, bool Keep) {
    // The list keeps the unscaled height in 16 bits to rebuild the surface after focus loss:
    // a taller one (possible on a screen narrower than 640) is refused like an oversized one.
    if (Height > kMaxSurfaceHeight && Running()) {
        Fail("RealizeSurface.CreateSueface");
        return;
    }
    if (RealizeSurface(Surface, Height * FSizeRate >> 2, SysMem) != 0) return;
    if (FSurfaceLast + 1 >= kSurfaceListSize) {
        // The list is full: refuse rather than write past its end.
        Surface.reset();
        Fail("AddSurface.ListFull");
        return;
    }
    auto& entry = FSurfaceList[static_cast<std::size_t>(++FSurfaceLast)];
    entry.SurfaceRef = &Surface;
    entry.Height = static_cast<std::uint16_t>(Height);
    entry.Flags = static_cast<std::uint8_t>((SysMem ? TSurfaceEntry::kSysMem : 0) | (Keep ? TSurfaceEntry::kKeep : 0));
}

bool TSpriteEx::UnlistSurface(const SurfacePtr& Surface) {
    for (int i = 0; i <= FSurfaceLast; ++i) {
        if (FSurfaceList[static_cast<std::size_t>(i)].SurfaceRef != &Surface) continue;
        // Later entries (and any image held for them) move one place down.
        for (int j = i; j < FSurfaceLast; ++j) {
            FSurfaceList[static_cast<std::size_t>(j)] = FSurfaceList[static_cast<std::size_t>(j + 1)];
            FSurfaceImages[static_cast<std::size_t>(j)] = std::move(FSurfaceImages[static_cast<std::size_t>(j + 1)]);
        }
        FSurfaceList[static_cast<std::size_t>(FSurfaceLast)] = TSurfaceEntry{};
        FSurfaceImages[static_cast<std::size_t>(FSurfaceLast)].reset();
        --FSurfaceLast;
        return true;
    }
    return false;
}

void TSpriteEx::ReleaseSurface(SurfacePtr& Surface) {
    if (!Surface) return;
    if (SystemState() == TSystemState::ssPlain) {
        Fail("ReleaseSurface.NotInit");
        return;
    }
    SetPause(true);
    if (UnlistSurface(Surface)) {
        Surface.reset();
        return;
    }
    Fail("ReleaseSurface.NotFound");
}

void TSpriteEx::StoreSurfaceList() {
    FStep = "StoreSurfaceList";
    if (FSurfaceLast < 0) {
        ReleaseAll();
        return;
    }
    if (SystemState() == TSystemState::ssPlain) {
        Fail("StoreSurfaceList.NotInit");
        return;
    }
    SetPause(true);
    const bool keepAny = SystemState() != TSystemState::ssTerminate;
    for (int i = 0; i <= FSurfaceLast; ++i) {
        const auto& entry = FSurfaceList[static_cast<std::size_t>(i)];
        SurfacePtr& surface = *entry.SurfaceRef;
        auto& image = FSurfaceImages[static_cast<std::size_t>(i)];
        if ((entry.Flags & TSurfaceEntry::kKeep) && keepAny && surface) {
            if (!image) image = std::make_unique<Surface>();
            *image = *surface;
        }
        surface.reset();
    }
    FSurfacesStored = true;
    ReleaseAll();
}

void TSpriteEx::RestoreSurfaceList() {
    FStep = "RestoreSurfaceList";
    if (!Initialize() || SystemState() == TSystemState::ssTerminate) return;
    if (FSurfaceLast >= 0 && FSurfacesStored) {
        for (int i = 0; i <= FSurfaceLast; ++i) {
            const auto& entry = FSurfaceList[static_cast<std::size_t>(i)];
            SurfacePtr& surface = *entry.SurfaceRef;
            const int height = entry.Height * FSizeRate >> 2;
            if (!surface) {
                if (RealizeSurface(surface, height, (entry.Flags & TSurfaceEntry::kSysMem) != 0) != 0) return;
            }
            auto& image = FSurfaceImages[static_cast<std::size_t>(i)];
            if ((entry.Flags & TSurfaceEntry::kKeep) && image) {
                StretchOnto(image->pixels.data(), image->pitch, image->width, image->height, *surface, FScreenWidth, height);
                image.reset();
            }
        }
    }
    if (!FBackGround.empty() && FBackSurface) CopyBackGround();
    // Every bank whose picture was loaded is loaded again (with its rotation sheets).
    for (int i = 0; i < kBankCount && Running(); ++i)
        if (!FBankData[static_cast<std::size_t>(i)].bitmap.empty()) RealizeBank(i);
    FSurfacesStored = false;
}

// Copies BackGround into the background surface: a picture as wide as the resolution's
// class is copied unscaled, any other is stretched to the screen width (with FixScaling).
void TSpriteEx::CopyBackGround() {
    if (!FBackSurface || FBackGround.empty()) return;
    const auto& bmp = FBackGround;
    Surface& dst = *FBackSurface;
    if (FFixScaling && bmp.width != ResolutionSize(FResolution).width) {
        const int dh = static_cast<int>(static_cast<std::int64_t>(bmp.height) * FScreenWidth / bmp.width);
        StretchOnto(bmp.pixels.data(), bmp.width, bmp.width, bmp.height, dst, FScreenWidth, dh);
    } else {
        const int w = std::min({bmp.width, FScreenWidth, dst.width});
        const int h = std::min({bmp.height, FScreenHeight, dst.height});
        StretchOnto(bmp.pixels.data(), bmp.width, w, h, dst, w, h);
    }
}

// ---- Palette -------------------------------------------------------------------------------

void TSpriteEx::SetPaletteFromBitmap(const plat::Palette& palette) {
    if (!Running() || !FHasPalette || FBitsPerPixel != 8) return;
    FBmpColors = {palette[8], palette[9], palette[246], palette[247]};
    // Entry 255 (white) is never taken from a picture.
    std::copy(palette.begin(), palette.begin() + 255, FPaletteEntries.begin());
    std::copy(palette.begin(), palette.begin() + 255, FDDPalette.begin());
    ApplySystemPalette();
}

void TSpriteEx::ApplySystemPalette() {
    if (!FFullScreenMode || !FHasPalette) return;
    const auto& colors = FProtectSystemPalette ? FSysColors : FBmpColors;
    FDDPalette[8] = colors[0];
    FDDPalette[9] = colors[1];
    FDDPalette[246] = colors[2];
    FDDPalette[247] = colors[3];
}

}  // namespace engine
