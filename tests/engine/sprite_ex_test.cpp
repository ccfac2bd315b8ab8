// TSpriteEx lifecycle, display and loop on a fake platform (no window, manual timer).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/sprite_ex.h"
#include "support/fake_platform.h"

using engine::SurfacePtr;
using engine::TResolution;
using engine::TSpriteEx;
using engine::TSystemState;
using testplat::FakePlatform;
using plat::DisplayStep;

namespace {

struct EngineTest : ::testing::Test {
    FakePlatform platform;
    std::unique_ptr<TSpriteEx> sprite = std::make_unique<TSpriteEx>(platform);
    std::vector<std::string> log;

    void SetUp() override {
        sprite->SetFullScreenMode(false);
        sprite->OnStartSystem = [this] { log.push_back("start"); };
        sprite->OnScreenChanged = [this] { log.push_back("screen"); };
        sprite->OnTerminateSystem = [this] { log.push_back("terminate"); };
        sprite->OnDeactivate = [this] { log.push_back("deactivate"); };
        sprite->OnActivate = [this] { log.push_back("activate"); };
    }
    void TearDown() override { sprite.reset(); }

    std::string LastBox() const { return platform.boxes.empty() ? std::string() : platform.boxes.back().text; }
    static void Paint(engine::Surface& s, std::uint8_t seed) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) s.row(y)[x] = static_cast<std::uint8_t>(seed + x * 7 + y * 13);
    }
};

TEST_F(EngineTest, StartSequenceWalksTheStateTable) {
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssPlain);
    EXPECT_TRUE(sprite->Paused());
    TSystemState atStart{};
    sprite->OnStartSystem = [&] {
        atStart = sprite->SystemState();
        log.push_back("start");
    };
    sprite->Paint();
    EXPECT_EQ(atStart, TSystemState::ssTriedInit);
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssNormal);
    EXPECT_FALSE(sprite->Paused());
    EXPECT_TRUE(platform.timerImpl.running);
    EXPECT_EQ(platform.timerImpl.lastPeriod, 1000 / 70);
    EXPECT_EQ(log, (std::vector<std::string>{"start", "screen"}));
    EXPECT_FALSE(platform.displayImpl.cursorVisible);
    ASSERT_NE(sprite->BackBuffer(), nullptr);
    EXPECT_EQ(sprite->BackBuffer()->width, 640);
    EXPECT_EQ(sprite->BackBuffer()->height, 480);

    // A second start, and Initialize in a running state, are refused.
    sprite->Paint();
    EXPECT_EQ(log.size(), 2u);

    // Focus loss and return: ssPlain while away, then back to ssNormal.
    sprite->HookDeactivate();
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssPlain);
    EXPECT_TRUE(sprite->Paused());
    EXPECT_FALSE(platform.timerImpl.running);
    EXPECT_EQ(sprite->BackBuffer(), nullptr);
    EXPECT_TRUE(platform.displayImpl.cursorVisible);
    sprite->HookActivate();
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssNormal);
    EXPECT_FALSE(sprite->Paused());
    EXPECT_EQ(log, (std::vector<std::string>{"start", "screen", "deactivate", "screen", "activate"}));

    // A screen change goes through ssChangeScreen and back to ssNormal.
    std::vector<TSystemState> duringSetup;
    platform.displayImpl.onSetFullScreen = [&](bool) { duringSetup.push_back(sprite->SystemState()); };
    sprite->SetFullScreenMode(true);
    ASSERT_EQ(duringSetup.size(), 1u);
    EXPECT_EQ(duringSetup[0], TSystemState::ssChangeScreen);
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssNormal);
    EXPECT_TRUE(platform.displayImpl.steps.back().fullScreen);
    EXPECT_EQ(log.back(), "screen");

    EXPECT_FALSE(sprite->Initialize());
    EXPECT_EQ(sprite->LastFailure(), "Init.DoubleInit");
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssTerminate);
    EXPECT_TRUE(sprite->Closed());
    EXPECT_FALSE(sprite->Initialize());   // ssTerminate: False at once, no new report
    EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(EngineTest, DeactivateBeforeStartAndActivateWhileRunningDoNothing) {
    sprite->HookDeactivate();
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssPlain);
    EXPECT_TRUE(log.empty());
    sprite->Paint();
    const auto steps = platform.displayImpl.steps.size();
    sprite->HookActivate();   // not in ssPlain
    EXPECT_EQ(platform.displayImpl.steps.size(), steps);
    EXPECT_EQ(log, (std::vector<std::string>{"start", "screen"}));
}

TEST_F(EngineTest, FailedInitializeReportsTheStepAndStartsNothing) {
    platform.displayImpl.refuseStep = DisplayStep::CreatePrimary;
    sprite->Paint();
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssTerminate);
    EXPECT_EQ(log, (std::vector<std::string>{"terminate"}));   // the close hook still runs
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, plat::BoxKind::Warning);
    EXPECT_EQ(platform.boxes[0].text, "Fail at Init.CreateNormalPrimary ( $8876 ) | ");
    EXPECT_EQ(platform.displayImpl.caption, "Fail at Init.CreateNormalPrimary ( $8876 )");
    EXPECT_TRUE(sprite->Closed());
    EXPECT_TRUE(sprite->Paused());
    EXPECT_EQ(platform.timerImpl.startCalls, 0);
    // A repaint does not try again.
    const auto steps = platform.displayImpl.steps.size();
    sprite->Paint();
    EXPECT_EQ(platform.displayImpl.steps.size(), steps);
}

TEST_F(EngineTest, FailedFullScreenStepShowsFourHexDigitsAndHidesTheWindow) {
    sprite->SetFullScreenMode(true);
    platform.displayImpl.refuseStep = DisplayStep::SetLevel;
    platform.displayImpl.refuseCode = 0x1;
    sprite->Paint();
    EXPECT_EQ(sprite->LastFailure(), "Fail at Init.SetExclusiveLevel ( $0001 )");
    EXPECT_TRUE(platform.displayImpl.hidden);
    EXPECT_EQ(std::count(log.begin(), log.end(), "start"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "screen"), 0);
}

TEST_F(EngineTest, UserEventChainRunsPausedWhileReArmed) {
    sprite->Paint();
    int calls = 0;
    std::vector<bool> pausedInside;
    std::function<void()> handler = [&] {
        ++calls;
        pausedInside.push_back(sprite->Paused() && !platform.timerImpl.running);
        if (calls < 3) sprite->OnUserEvent = handler;   // re-arm twice
    };
    sprite->OnUserEvent = handler;
    sprite->IdleRefresh();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(pausedInside, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(sprite->OnUserEvent);
    EXPECT_FALSE(sprite->Paused());   // the pause state before the chain
    EXPECT_TRUE(platform.timerImpl.running);
    sprite->IdleRefresh();
    EXPECT_EQ(calls, 3);   // one-shot

    // A chain that starts while the game holds the loop paused leaves it paused.
    sprite->SetPause(true);
    sprite->OnUserEvent = [&] { ++calls; };
    sprite->RunUserEvents();
    EXPECT_EQ(calls, 4);
    EXPECT_TRUE(sprite->Paused());
}

TEST_F(EngineTest, SetPauseReturnsThePreviousStateAndStaysStoppedAfterTerminate) {
    EXPECT_TRUE(sprite->SetPause(true));   // paused from creation; no change
    sprite->Paint();
    EXPECT_FALSE(sprite->SetPause(false));
    EXPECT_FALSE(sprite->SetPause(true));
    EXPECT_TRUE(sprite->SetPause(true));
    EXPECT_FALSE(platform.timerImpl.running);
    EXPECT_TRUE(sprite->SetPause(false));
    EXPECT_TRUE(platform.timerImpl.running);

    sprite->Close();
    EXPECT_EQ(log.back(), "terminate");
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssTerminate);
    const int starts = platform.timerImpl.startCalls;
    EXPECT_TRUE(sprite->SetPause(false));
    EXPECT_TRUE(sprite->Paused());
    EXPECT_EQ(platform.timerImpl.startCalls, starts);
    EXPECT_FALSE(sprite->FullScreenMode());   // the window is given back
    sprite->Close();
    EXPECT_EQ(std::count(log.begin(), log.end(), "terminate"), 1);
}

TEST_F(EngineTest, ProcessPerSecOutsideOneToThousandIsRefused) {
    sprite->SetProcessPerSec(0);
    sprite->SetProcessPerSec(-5);
    sprite->SetProcessPerSec(1001);
    EXPECT_EQ(sprite->ProcessPerSec(), 70);
    sprite->SetProcessPerSec(1000);
    sprite->Paint();
    EXPECT_EQ(platform.timerImpl.lastPeriod, 1);
    // Written while running: the timer is made again with the new period.
    sprite->SetProcessPerSec(100);
    EXPECT_EQ(platform.timerImpl.lastPeriod, 10);
    EXPECT_TRUE(platform.timerImpl.running);
    sprite->SetProcessPerSec(0);
    EXPECT_EQ(sprite->ProcessPerSec(), 100);
}

TEST_F(EngineTest, RefusedTimerIsRetriedABoundedNumberOfTimesThenFails) {
    platform.timerImpl.refuseStarts = 2;
    sprite->Paint();
    EXPECT_FALSE(sprite->Paused());
    EXPECT_EQ(platform.timerImpl.startCalls, 3);

    FakePlatform other;
    other.timerImpl.refuseStarts = -1;
    TSpriteEx refused(other);
    refused.SetFullScreenMode(false);
    refused.Paint();
    EXPECT_EQ(refused.LastFailure(), "BeginProcess.TimerRefused");
    EXPECT_EQ(refused.SystemState(), TSystemState::ssTerminate);
    EXPECT_TRUE(refused.Paused());
    EXPECT_GE(other.timerImpl.startCalls, 2);
    EXPECT_LE(other.timerImpl.startCalls, 10);
}

TEST_F(EngineTest, KeepSurfaceSurvivesFocusLossAndPlainOneComesBackEmpty) {
    sprite->Paint();
    SurfacePtr kept, plain;
    sprite->AddSurface(kept, 100, false, true);
    sprite->AddSurface(plain, 50, true, false);
    ASSERT_TRUE(kept && plain);
    EXPECT_EQ(kept->width, 640);
    EXPECT_EQ(kept->height, 100);
    EXPECT_EQ(sprite->SurfaceLast(), 1);
    EXPECT_EQ(sprite->SurfaceEntry(1).Flags, engine::TSurfaceEntry::kSysMem);
    Paint(*kept, 3);
    Paint(*plain, 5);
    const auto keptPixels = kept->pixels;

    sprite->HookDeactivate();
    EXPECT_FALSE(kept);
    EXPECT_FALSE(plain);
    sprite->HookActivate();
    ASSERT_TRUE(kept && plain);
    EXPECT_EQ(kept->pixels, keptPixels);
    EXPECT_EQ(plain->height, 50);
    EXPECT_TRUE(std::all_of(plain->pixels.begin(), plain->pixels.end(), [](std::uint8_t p) { return p == 0; }));
    EXPECT_TRUE(plain->sysMem);
    EXPECT_EQ(sprite->SurfaceLast(), 1);

    // Also across a run-time screen change.
    sprite->SetFullScreenMode(true);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->pixels, keptPixels);

    sprite->ReleaseSurface(kept);
    EXPECT_FALSE(kept);
    EXPECT_EQ(sprite->SurfaceLast(), 0);
    EXPECT_EQ(sprite->SurfaceEntry(0).SurfaceRef, &plain);
}

TEST_F(EngineTest, ReleasingAnUnlistedSurfaceReportsNotFound) {
    sprite->Paint();
    SurfacePtr none;
    sprite->ReleaseSurface(none);   // empty: nothing happens
    EXPECT_TRUE(sprite->LastFailure().empty());
    SurfacePtr loose;
    EXPECT_EQ(sprite->RealizeSurface(loose, 16, false), 0);
    ASSERT_TRUE(loose);
    sprite->ReleaseSurface(loose);
    EXPECT_EQ(sprite->LastFailure(), "ReleaseSurface.NotFound");
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssTerminate);
}

TEST_F(EngineTest, SurfaceOperationsOutsideARunningSystem) {
    SurfacePtr s;
    EXPECT_EQ(sprite->RealizeSurface(s, 10, false), 999);   // ssPlain: nothing
    EXPECT_FALSE(s);
    EXPECT_TRUE(sprite->LastFailure().empty());
    sprite->Paint();
    sprite->HookDeactivate();
    SurfacePtr stray = std::make_unique<engine::Surface>(4, 4);
    sprite->ReleaseSurface(stray);
    EXPECT_EQ(sprite->LastFailure(), "ReleaseSurface.NotInit");
}

TEST_F(EngineTest, SizeRateFollowsTheOriginAndIgnoresWrites) {
    sprite->SetResolution(TResolution::Res_320x240x8);
    EXPECT_EQ(sprite->ClipRect().right, 320);
    sprite->SetSizeRate(9);
    sprite->Paint();
    EXPECT_EQ(sprite->SizeRate(), 2);   // 320 screen, 640 origin
    SurfacePtr half;
    sprite->AddSurface(half, 480, false, false);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->height, 240);
    EXPECT_EQ(half->width, 320);
    sprite->SetSizeOrigin(TResolution::Res_320x240x16);
    EXPECT_EQ(sprite->SizeRate(), 4);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->height, 480);   // rebuilt at the new scale

    // DebugOptions are taken only before the system runs.
    const auto before = sprite->DebugOptions();
    sprite->SetDebugOptions(engine::TDebugOptions{engine::TDebugOption::doSysMemOnly});
    EXPECT_EQ(sprite->DebugOptions(), before);
}

TEST_F(EngineTest, SysMemOnlyPutsEveryOffScreenSurfaceInSystemMemory) {
    sprite->SetDebugOptions(sprite->DebugOptions().with(engine::TDebugOption::doSysMemOnly));
    sprite->Paint();
    SurfacePtr s;
    sprite->AddSurface(s, 8, false, false);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->sysMem);
}

TEST_F(EngineTest, PaletteFromPictureKeepsWhiteAndRefreshPresentsIt) {
    sprite->Paint();
    plat::Palette picture{};
    for (int i = 0; i < 256; ++i) picture[static_cast<std::size_t>(i)] = plat::Rgb{std::uint8_t(i), 1, 2};
    sprite->SetPaletteFromBitmap(picture);
    EXPECT_EQ(sprite->StoredPalette()[7].r, 7);
    EXPECT_EQ(sprite->StoredPalette()[255].r, 255);
    EXPECT_EQ(sprite->StoredPalette()[255].g, 255);
    sprite->BackBuffer()->row(3)[5] = 42;
    sprite->IdleRefresh();
    EXPECT_EQ(platform.displayImpl.presents, 1);
    EXPECT_EQ(platform.displayImpl.lastFrame[3 * static_cast<std::size_t>(sprite->BackBuffer()->pitch) + 5], 42);
    EXPECT_EQ(platform.displayImpl.lastPalette[42].r, 42);
    EXPECT_EQ(platform.displayImpl.lastPalette[42].g, 1);
    // The shown frame and the back buffer as RGBA bytes, through the palette shown.
    std::vector<std::uint8_t> shown, back;
    int w = 0, h = 0;
    ASSERT_TRUE(sprite->ShownFrameRgba(shown, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    const std::size_t at = (3 * 640 + 5) * 4;
    EXPECT_EQ((std::vector<std::uint8_t>(shown.begin() + at, shown.begin() + at + 4)), (std::vector<std::uint8_t>{42, 1, 2, 255}));
    sprite->BackBuffer()->row(3)[5] = 7;   // drawn after the frame was shown
    ASSERT_TRUE(sprite->BackBufferRgba(back, w, h));
    EXPECT_EQ(back[at], 7);
    back[at] = 42;
    EXPECT_EQ(back, shown);
}

TEST_F(EngineTest, ExceptionHookEndsTheProgram) {
    sprite->Paint();
    std::string seen;
    sprite->OnException = [&](const std::exception& e) { seen = e.what(); };
    sprite->OnRefresh = [] { throw std::runtime_error("bad frame"); };
    sprite->SetExternalClock(true);
    sprite->HeadlessStep(true);
    EXPECT_EQ(seen, "bad frame");
    EXPECT_EQ(sprite->SystemState(), TSystemState::ssTerminate);
    EXPECT_TRUE(sprite->Terminated());
    EXPECT_TRUE(sprite->Paused());
}

TEST_F(EngineTest, WindowEventsDriveHooksAndScreenChanges) {
    sprite->Paint();
    auto& events = platform.displayImpl.events;
    events.push_back({plat::WindowEventType::KeyDown, plat::Key::Return, true});
    events.push_back({plat::WindowEventType::FocusLost});
    events.push_back({plat::WindowEventType::FocusGained});
    events.push_back({plat::WindowEventType::KeyDown, plat::Key::Escape, false});
    sprite->RunLoop();   // returns once Escape closed the window
    EXPECT_TRUE(sprite->FullScreenMode() == false);   // given back at close
    EXPECT_EQ(log, (std::vector<std::string>{"start", "screen", "screen", "deactivate", "screen", "activate", "terminate"}));
    EXPECT_TRUE(sprite->Closed());
    EXPECT_TRUE(platform.displayImpl.fullScreenCalls.size() >= 2);
}

TEST_F(EngineTest, FailureOnTheTickIsReportedByTheMainThread) {
    sprite->SetExternalClock(true);
    sprite->Paint();
    SurfacePtr loose = std::make_unique<engine::Surface>(2, 2);
    sprite->OnProcess = [&] { sprite->ReleaseSurface(loose); };
    sprite->HeadlessStep(false);
    EXPECT_EQ(sprite->LastFailure(), "ReleaseSurface.NotFound");
    EXPECT_TRUE(sprite->Closed());
    EXPECT_EQ(platform.boxes.size(), 1u);
}

}  // namespace
