// TSpriteEx: the process loop. A timer (a platform thread, or the headless runner's own
// steps) runs OnProcess; the main thread refreshes, runs the user-event chain and handles
// window events. Pausing stops the timer and waits until no tick runs.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "engine/sprite_ex.h"
#include "platform/convert.h"

namespace engine {
namespace {

// Set while this thread runs OnProcess, and while it holds the engine lock (a tick, or the
// drawing part of a refresh).
thread_local bool tInTick = false;
thread_local bool tHoldsEngineLock = false;

struct LockedSection {
    bool& flag;
    explicit LockedSection(bool& f) : flag(f) { flag = true; }
    ~LockedSection() { flag = false; }
};

// A refused timer request or a failing kill is tried this often before it is reported.
constexpr int kTimerAttempts = 5;
constexpr auto kTimerRetryWait = std::chrono::milliseconds(10);

}  // namespace

bool TSpriteEx::OnTickThread() const { return tInTick; }

// ---- Pause and timer -------------------------------------------------------------------------

bool TSpriteEx::SetPause(bool Value) {
    if (!tHoldsEngineLock) CompletePendingStop();
    const bool previous = FPaused.load();
    if (Value == previous) return previous;

    if (tHoldsEngineLock) {
        // Inside a tick or a refresh: the engine lock already keeps every other tick out,
        // and waiting for the timer here would wait for ourselves. Ticks are switched off
        // now; the main thread stops the timer itself once the lock is released.
        if (Value) {
            FTicksEnabled = false;
            FStopTimerPending = true;
            FPaused = true;
        } else if (SystemState() != TSystemState::ssTerminate) {
            if (FStopTimerPending.exchange(false)) {
                FTicksEnabled = true;
            } else if (!OnTickThread() || FExternalClock) {
                BeginProcess(true);
                if (SystemState() == TSystemState::ssTerminate) return previous;
            } else {
                return previous;   // a stopped timer cannot be restarted from its own tick
            }
            FPaused = false;
        }
        return previous;
    }

    if (Value) {
        BeginProcess(false);
        DrainCallbacks();
        FPaused = true;
    } else {
        if (SystemState() == TSystemState::ssTerminate) return previous;
        DrainCallbacks();
        BeginProcess(true);
        if (SystemState() == TSystemState::ssTerminate) return previous;   // the timer was refused
        FPaused = false;
    }
    return previous;
}

void TSpriteEx::CompletePendingStop() {
    if (!FStopTimerPending.exchange(false)) return;
    BeginProcess(false);
    DrainCallbacks();
}

void TSpriteEx::BeginProcess(bool Value) {
    auto& timer = FPlatform.timer();
    if (Value) {
        if (SystemState() == TSystemState::ssTerminate || FTimerID != 0) return;
        FTicksEnabled = true;
        if (FExternalClock) {
            FTimerID = -1;   // the caller steps the loop itself
            return;
        }
        const int period = 1000 / FProcessPerSec;
        for (int attempt = 0; attempt < kTimerAttempts; ++attempt) {
            const int id = timer.start(period, [this] { TimerTick(); });
            if (id > 0) {
                FTimerID = id;
                return;
            }
            std::this_thread::sleep_for(kTimerRetryWait);
        }
        FTicksEnabled = false;
        Fail("BeginProcess.TimerRefused");
        return;
    }
    FTicksEnabled = false;
    if (FTimerID == 0) return;
    const bool external = FTimerID < 0;
    FTimerID = 0;
    if (external) return;
    for (int attempt = 0; attempt < kTimerAttempts; ++attempt) {
        if (timer.stop()) return;
        std::this_thread::sleep_for(kTimerRetryWait);
    }
    // Ticks are switched off, so a timer that will not die runs no game step any more.
    Fail("BeginProcess.TimerKill");
}

void TSpriteEx::DrainCallbacks() {
    // Ticks are off (FTicksEnabled is false) when this runs, so a tick that starts now
    // returns at once; wait for one that is still inside OnProcess. A refresh runs on this
    // thread, so none can be running unless we were called from inside it.
    while (FProcessBusy.load()) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

void TSpriteEx::TimerTick() {
    if (FProcessBusy.exchange(true)) {
        FDroppedTicks.fetch_add(1);
        return;
    }
    if (FTicksEnabled.load()) {
        std::lock_guard lock(FLock);
        // A pause may have come while this tick waited for the lock.
        if (FTicksEnabled.load()) {
            LockedSection held(tHoldsEngineLock);
            LockedSection tick(tInTick);
            try {
                // A user event asked for by an earlier tick (a scene's set-up) runs on the main
                // thread before the next tick: until it has, the timer's ticks wait, so a slow
                // main thread never lets a tick run between a request and its set-up and the
                // window plays exactly as a replay of it does.
                const bool setUpPending = static_cast<bool>(OnUserEvent);
                int repeat = FProcessHold.load() || setUpPending ? 0 : FProcessRepeat.load();
                // Slow motion: the timer ticks between two game ticks run none.
                if (repeat > 0 && ++FDivideCount < FProcessDivide.load()) repeat = 0;
                if (repeat > 0) FDivideCount = 0;
                if (setUpPending) FHeldTicks.fetch_add(1);
                if (repeat > 0) FollowTickStart();
                for (int i = 0; i < repeat && OnProcess; ++i) {
                    // Fast-forward: a requested scene change runs before the next game tick.
                    if (i > 0 && (OnUserEvent || !FTicksEnabled.load() || FProcessHold.load())) break;
                    FProcessCount.fetch_add(1);
                    OnProcess();
                }
                if (repeat > 0) FTickEndUs = FExternalClock ? FVirtualUs : TFrameLog::SteadyUs();
            } catch (...) {
                FTicksEnabled = false;
                std::lock_guard deferred(FDeferredLock);
                if (!FDeferredException) FDeferredException = std::current_exception();
                FHasDeferred = true;
            }
        }
    }
    FProcessBusy = false;
}

void TSpriteEx::FollowTickStart() {
    const std::int64_t now = FExternalClock ? FVirtualUs : TFrameLog::SteadyUs();
    const std::int64_t period = TimerPeriodUs() * FProcessDivide.load();
    const std::int64_t expected = FTickStartUs + period;
    // The timer keeps an absolute schedule; its wake-ups scatter around it. Follow the
    // schedule, pulled gently toward what is measured, and start over after a gap.
    if (FTickStartUs == 0 || now - expected > period || expected - now > period)
        FTickStartUs = now;
    else
        FTickStartUs = expected + (now - expected) / 8;
}

double TSpriteEx::TickPhase() const {
    // The moment of drawing, not the moment the frame goes out: a self-paced frame is drawn
    // a steady lead before its refresh, when the tick covering the refresh has not run yet.
    // Measured from the refresh, the phase would run past the newest tick and stick at 1 for
    // a frame or two in every few (a shake of a quarter tick); measured from the drawing, the
    // frame shows the game a constant lead earlier and every frame advances evenly. Where the
    // display paces itself, the moment the loop meant to draw at, so that a late wake-up
    // (the window system busy with the last frame) does not shake the picture.
    const std::int64_t steady = FExternalClock ? 0 : TFrameLog::SteadyUs();
    const std::int64_t now = FExternalClock ? FVirtualUs : FFrameMomentUs > 0 ? std::min(FFrameMomentUs, steady) : steady;
    const double phase =
        static_cast<double>(now - FTickStartUs) / static_cast<double>(TimerPeriodUs() * FProcessDivide.load());
    return phase < 0.0 ? 0.0 : (phase > 1.0 ? 1.0 : phase);
}

void TSpriteEx::SetProcessRepeat(int value) { FProcessRepeat = std::clamp(value, 1, kProcessRepeatMax); }
void TSpriteEx::SetProcessDivide(int value) { FProcessDivide = std::clamp(value, 1, kProcessDivideMax); }

namespace {

bool SurfaceRgba(const Surface& frame, const plat::Palette& palette, std::vector<std::uint8_t>& rgba, int& width,
                 int& height) {
    width = frame.width;
    height = frame.height;
    plat::frameToRgba(plat::FrameView{frame.pixels.data(), frame.pitch, frame.width, frame.height}, palette, rgba);
    return true;
}

}  // namespace

bool TSpriteEx::ShownFrameRgba(std::vector<std::uint8_t>& rgba, int& width, int& height) const {
    if (FPresentFrame.pixels.empty() || !FHaveShownFrame) return false;
    return SurfaceRgba(FPresentFrame, FPresentPalette, rgba, width, height);
}

bool TSpriteEx::BackBufferRgba(std::vector<std::uint8_t>& rgba, int& width, int& height) const {
    if (!FBackBuffer) return false;
    return SurfaceRgba(*FBackBuffer, FDDPalette, rgba, width, height);
}

// ---- Refresh and user events -------------------------------------------------------------------

void TSpriteEx::IdleRefresh() {
    RefreshFrame();
    RunUserEvents();
}

void TSpriteEx::RefreshFrame() {
    LockedSection refreshing(FInRefresh);
    bool haveFrame = false;
    const bool logging = FFrameLog.IsOpen();
    const std::int64_t cpuAtStart = logging ? TFrameLog::ThreadCpuUs() : 0;
    TFramePresent logged;
    const std::int64_t wallAtStart = TFrameLog::SteadyUs();
    {
        std::lock_guard lock(FLock);
        LockedSection held(tHoldsEngineLock);
        logged.tickEndUs = FTickEndUs;
        if (logging) {
            // No tick runs now: the count is of completed ticks.
            logged.tick = FProcessCount.load();
            logged.shown = static_cast<double>(logged.tick);
            logged.held = FProcessHold.load() || static_cast<bool>(OnUserEvent) || FPaused.load();
        }
        FFrameShown = -1.0;
        if (!FBackGround.empty() && FBackSurface && FBackBuffer) {
            const Surface& src = *FBackSurface;
            Surface& dst = *FBackBuffer;
            const int w = std::min(src.width, dst.width), h = std::min(src.height, dst.height);
            for (int y = 0; y < h; ++y) std::memcpy(dst.row(y), src.row(y), static_cast<std::size_t>(w));
        }
        if (OnRefresh) OnRefresh();
        if (logging && FFrameShown >= 0.0) logged.shown = FFrameShown;
        // The frame and palette the presenter converts after the lock is released, while
        // the next tick may already change the back buffer or fade the palette.
        if (FBackBuffer && FPresentFrame.pixels.size() == FBackBuffer->pixels.size()) {
            std::memcpy(FPresentFrame.pixels.data(), FBackBuffer->pixels.data(), FBackBuffer->pixels.size());
            FPresentPalette = FDDPalette;
            haveFrame = true;
            FHaveShownFrame = true;
        }
    }
    const std::int64_t drawWallUs = TFrameLog::SteadyUs() - wallAtStart;
    FLastPresentShown = false;
    plat::PresentTimes times;
    if (haveFrame && FDisplayReady) {
        const plat::FrameView frame{FPresentFrame.pixels.data(), FPresentFrame.pitch, FPresentFrame.width,
                                    FPresentFrame.height};
        FLastPresentShown = FPlatform.display().present(frame, FPresentPalette);
        if (FLastPresentShown) times = FPlatform.display().lastPresent();
    }
    // The frame's work before its refresh (the drawing's wall time with the lock's wait, and
    // the display's own), followed loosely for the loop's draw-before-the-refresh lead.
    FFrameWorkUs += (drawWallUs + times.beforeRefresh.count() - FFrameWorkUs) / 8;
    if (logging && haveFrame) {
        const std::uint64_t heldTicks = FHeldTicks.load();
        logged.held = logged.held || heldTicks != FLoggedHeldTicks;
        FLoggedHeldTicks = heldTicks;
        const auto us = [](std::chrono::steady_clock::time_point t) -> std::int64_t {
            return t == std::chrono::steady_clock::time_point{}
                       ? 0
                       : std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
        };
        logged.tUs = FExternalClock ? FVirtualUs : times.shown != decltype(times.shown){} ? us(times.shown) : TFrameLog::SteadyUs();
        if (!FExternalClock) {
            logged.handOffUs = us(times.handOff);
            logged.readyUs = us(times.ready);
        }
        logged.drawUs = TFrameLog::ThreadCpuUs() - cpuAtStart;
        logged.cpuUs = TFrameLog::ProcessCpuUs();
        FFrameLog.Present(logged);
    }
    CompletePendingStop();
}

void TSpriteEx::RunUserEvents() {
    {
        std::lock_guard lock(FLock);
        if (!OnUserEvent) return;
    }
    const bool was = SetPause(true);
    TSimpleEvent handler;
    for (;;) {
        {
            std::lock_guard lock(FLock);
            handler = std::move(OnUserEvent);
            OnUserEvent = nullptr;
        }
        ++FUserEventCount;
        handler();
        if (SystemState() == TSystemState::ssTerminate) break;
        std::lock_guard lock(FLock);
        if (!OnUserEvent) break;
    }
    SetPause(was);
}

// ---- Main loops ------------------------------------------------------------------------------

void TSpriteEx::HeadlessStep(bool draw) {
    try {
        DrainDeferred();
        if (Terminated() || FPaused) return;
        // The virtual clock: one timer period per step, the tick at its start and the frame
        // at its end (showing the tick as it completed).
        TimerTick();
        FVirtualUs += TimerPeriodUs();
        DrainDeferred();
        CompletePendingStop();
        if (Terminated() || FPaused) return;
        if (draw) {
            IdleRefresh();
        } else {
            RunUserEvents();
        }
        DrainDeferred();
    } catch (const std::exception& e) {
        HookException(e);
    }
}

void TSpriteEx::HandleWindowEvent(const plat::WindowEvent& event) {
    using plat::WindowEventType;
    if (FFrameLog.IsOpen() && (event.type == WindowEventType::KeyDown || event.type == WindowEventType::PadButtonDown)) {
        // A tick counted now may already have read the input: the next one is sure to.
        FFrameLog.Key(FExternalClock ? FVirtualUs : TFrameLog::SteadyUs(), FProcessCount.load() + 1);
    }
    switch (event.type) {
        case WindowEventType::CloseRequest: Close(); break;
        case WindowEventType::FocusLost: HookDeactivate(); break;
        case WindowEventType::FocusGained: HookActivate(); break;
        case WindowEventType::KeyDown:
            if (event.key == plat::Key::Return && event.alt) {
                SetFullScreenMode(!FullScreenMode());
            } else if (event.key == plat::Key::Escape) {
                Close();
            } else if (OnKeyDown) {
                OnKeyDown(event);
            }
            break;
        case WindowEventType::PadButtonDown:
            if (OnKeyDown) OnKeyDown(event);
            break;
        case WindowEventType::Exposed:
        case WindowEventType::None: break;
    }
}

void TSpriteEx::RunLoop() {
    using Clock = std::chrono::steady_clock;
    auto& display = FPlatform.display();
    while (!Terminated()) {
        try {
            FFrameMomentUs = 0;
            if (const auto due = display.nextRefresh(); due != Clock::time_point{} && !FPaused) {
                // A self-paced display: take the events and draw just before the frame goes
                // out, so it holds the newest input and tick; the lead covers the frame's work
                // before its refresh with room (three times it and 2 ms: the room takes the
                // few milliseconds a busy machine may hold the upload up). It changes only by
                // whole milliseconds: every change shifts the moment the frames show.
                const std::int64_t period = 1'000'000 / std::max(1, display.refreshRate());
                const std::int64_t lead = std::min(period, std::max(period / 2, 2000 + 3 * FFrameWorkUs));
                if (FPaceLeadUs == 0 || std::abs(lead - FPaceLeadUs) > 1000) FPaceLeadUs = lead;
                const auto drawAt = due - std::chrono::microseconds(FPaceLeadUs);
                std::this_thread::sleep_until(drawAt);
                FFrameMomentUs = std::chrono::duration_cast<std::chrono::microseconds>(drawAt.time_since_epoch()).count();
            }
            plat::WindowEvent event;
            while (!Terminated() && display.pollEvent(event)) HandleWindowEvent(event);
            DrainDeferred();
            CompletePendingStop();
            if (Terminated()) break;
            if (FPaused) {
                // Nothing to draw (focus lost, or the game paused itself): wait for events.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            const auto started = Clock::now();
            IdleRefresh();
            if (!FLastPresentShown) {
                // Nothing was shown, so nothing waited for the display: keep to its rate
                // instead of spinning.
                const int hz = display.refreshRate() > 0 ? display.refreshRate() : 60;
                std::this_thread::sleep_until(started + std::chrono::microseconds(1000000 / hz));
            }
        } catch (const std::exception& e) {
            HookException(e);
        }
    }
}

}  // namespace engine
