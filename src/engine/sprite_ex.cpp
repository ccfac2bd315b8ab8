// TSpriteEx: creation, the start sequence, the window hooks, failure reports and the
// property writers.

#include "engine/sprite_ex.h"

#include <cstdio>

namespace engine {

TSpriteEx::TSpriteEx(plat::Platform& platform) : FPlatform(platform) {
    FClipRect = TRect{0, 0, 640, 480};
}

TSpriteEx::~TSpriteEx() {
    // The timer thread calls back into this object: it must be gone first.
    if (FTimerID > 0) FPlatform.timer().stop();
    FTicksEnabled = false;
}

bool TSpriteEx::Running() const {
    const auto s = SystemState();
    return s != TSystemState::ssPlain && s != TSystemState::ssTerminate;
}

// ---- Start sequence and hooks --------------------------------------------------------------

void TSpriteEx::Paint() {
    if (FStarted) return;
    SetupWindowState();
    FHooked = true;
    const bool ok = Initialize();
    FStarted = true;
    if (!ok) return;
    if (OnStartSystem) OnStartSystem();
    if (SystemState() == TSystemState::ssTerminate) return;   // the handler failed or closed
    FSystemState = TSystemState::ssNormal;
    if (OnScreenChanged) OnScreenChanged();
    SetPause(false);
}

void TSpriteEx::ClearScreens() {
    // Colour 0 over the whole of both screen surfaces; nothing outside a running state.
    if (!Running()) return;
    for (SurfacePtr* s : {&FBackBuffer, &FPrimary})
        if (*s) std::fill((*s)->pixels.begin(), (*s)->pixels.end(), std::uint8_t{0});
}

void TSpriteEx::Close() {
    if (FClosed) return;
    if (FHooked) {
        HookCloseQuery();
        if (FHooked) return;   // the window's own close query refused: the window stays
    }
    FClosed = true;
}

void TSpriteEx::HookCloseQuery() {
    ClearScreens();
    SetPause(true);
    if (FormCloseQuery && !FormCloseQuery()) {
        // Refused: the engine stays paused with its hooks in place.
        return;
    }
    if (OnTerminateSystem) OnTerminateSystem();
    FSystemState = TSystemState::ssTerminate;
    StoreSurfaceList();
    FFullScreenMode = false;
    SetupWindowState();
    Unhook();
    FClosed = true;
}

void TSpriteEx::Unhook() {
    FHooked = false;
    FStarted = false;
}

void TSpriteEx::HookDeactivate() {
    if (!FHooked || SystemState() == TSystemState::ssTerminate) return;
    FPauseAtDeactivate = SetPause(true);
    const auto s = SystemState();
    if (s == TSystemState::ssNormal || s == TSystemState::ssPaused) {
        if (OnDeactivate) OnDeactivate();
        StoreSurfaceList();
    }
}

void TSpriteEx::HookActivate() {
    if (!FHooked || SystemState() != TSystemState::ssPlain) return;
    FPlatform.display().raise();
    RestoreSurfaceList();
    if (SystemState() == TSystemState::ssTerminate) return;   // rebuilding failed
    FSystemState = TSystemState::ssNormal;
    if (OnScreenChanged) OnScreenChanged();
    if (OnActivate) OnActivate();
    SetPause(FPauseAtDeactivate);
}

void TSpriteEx::HookException(const std::exception& e) {
    SetPause(true);
    if (OnException) OnException(e);
    FSystemState = TSystemState::ssTerminate;
    ReleaseAll();
    FAppTerminated = true;
}

// ---- Failure reports -----------------------------------------------------------------------

bool TSpriteEx::CheckResult(const std::string& step, int code) {
    if (code == 0) return true;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
    Fail("Fail at " + step + " ( $" + hex + " )");
    return false;
}

void TSpriteEx::Fail(const std::string& message) {
    if (OnTickThread()) {
        // The tick thread can neither stop its own timer nor show a window: stop running
        // game ticks and let the main thread report it.
        FTicksEnabled = false;
        std::lock_guard lock(FDeferredLock);
        if (FDeferredFailure.empty()) FDeferredFailure = message;
        FHasDeferred = true;
        return;
    }
    RunFail(message);
}

void TSpriteEx::RunFail(const std::string& message) {
    if (FFailing) return;   // a failure while reporting one (ReleaseAll) adds nothing
    FFailing = true;
    FLastFailure = message;
    // Stop the loop before the state changes, so no tick runs while everything is released.
    SetPause(true);
    FSystemState = TSystemState::ssTerminate;
    ReleaseAll();
    auto& display = FPlatform.display();
    if (FFullScreenMode) display.hide();
    display.setCaption(message);
    FPlatform.messageBox(plat::BoxKind::Warning, ApplicationTitle, message + " | " + FStep);
    FFailing = false;
    Close();
}

void TSpriteEx::DrainDeferred() {
    if (!FHasDeferred.load()) return;
    std::string failure;
    std::exception_ptr exception;
    {
        std::lock_guard lock(FDeferredLock);
        failure.swap(FDeferredFailure);
        exception = FDeferredException;
        FDeferredException = nullptr;
        FHasDeferred = false;
    }
    if (exception) {
        try {
            std::rethrow_exception(exception);
        } catch (const std::exception& e) {
            HookException(e);
        }
    }
    if (!failure.empty()) RunFail(failure);
}

// ---- Property writers ------------------------------------------------------------------------

template <class Store>
void TSpriteEx::PausedStore(Store store) {
    if (SystemState() == TSystemState::ssPlain) {
        store();
        return;
    }
    const bool was = SetPause(true);
    store();
    SetPause(was);
}

void TSpriteEx::SetProcessPerSec(int value) {
    // The timer period is 1000 / ProcessPerSec ms: outside 1..1000 it would be zero or
    // negative, so such values are refused and the previous rate stays.
    if (value < kProcessPerSecMin || value > kProcessPerSecMax) return;
    if (value == FProcessPerSec) return;
    PausedStore([&] { FProcessPerSec = value; });
}

void TSpriteEx::SetDebugOptions(TDebugOptions value) {
    if (SystemState() == TSystemState::ssPlain && !FStarted) FDebugOptions = value;
}

void TSpriteEx::SetHideCursor(bool value) {
    FHideCursor = value;
    if (FDisplayReady) FPlatform.display().setCursorVisible(!value);
}

void TSpriteEx::SetFixDetail(int value) {
    PausedStore([&] { FFixDetail = value; });
}

void TSpriteEx::SetFixScaling(bool value) {
    PausedStore([&] { FFixScaling = value; });
}

void TSpriteEx::SetFlipping(bool value) {
    // Switching flipping off shows the desktop's own surface again: nothing to do here,
    // the presenter always shows the last frame.
    PausedStore([&] { FFlipping = value; });
}

void TSpriteEx::SetProtectSystemPalette(bool value) {
    PausedStore([&] {
        FProtectSystemPalette = value;
        if (SystemState() != TSystemState::ssPlain && FBitsPerPixel == 8) ApplySystemPalette();
    });
}

void TSpriteEx::SetBackGround(const plat::Bitmap8& value) {
    FBackGround = value;
    if (SystemState() == TSystemState::ssPlain) return;
    // Copy the new picture into the background surface, which exists only when a
    // background was set at the first start.
    if (!FBackSurface) {
        Fail("BltBmpToSurface.NotInit");
        return;
    }
    const bool was = SetPause(true);
    CopyBackGround();
    SetPause(was);
}

template <class Store>
void TSpriteEx::ChangeScreen(Store store) {
    const auto state = SystemState();
    if (state == TSystemState::ssPlain || state == TSystemState::ssTerminate) {
        store();
        return;
    }
    const bool was = SetPause(true);
    StoreSurfaceList();
    if (SystemState() == TSystemState::ssTerminate) return;
    FSystemState = TSystemState::ssChangeScreen;
    store();
    SetupWindowState();
    RestoreSurfaceList();
    if (SystemState() == TSystemState::ssTerminate) return;   // rebuilding failed
    FSystemState = TSystemState::ssNormal;
    if (OnScreenChanged) OnScreenChanged();
    SetPause(was);
}

void TSpriteEx::SetResolution(TResolution value) {
    if (value == FResolution) return;
    ChangeScreen([&] {
        FResolution = value;
        const auto size = ResolutionSize(value);
        FClipRect = TRect{0, 0, size.width, size.height};
    });
}

void TSpriteEx::SetFullScreenMode(bool value) {
    if (value == FFullScreenMode || SystemState() == TSystemState::ssTriedInit) return;
    ChangeScreen([&] { FFullScreenMode = value; });
}

void TSpriteEx::SetSizeOrigin(TResolution value) {
    if (value == FSizeOrigin) return;
    ChangeScreen([&] { FSizeOrigin = value; });
}

}  // namespace engine
