// The game window's --summary: which state its hash describes when the ticks, the scene
// set-ups they ask for and the title after the game come in the window's own order.
#include <gtest/gtest.h>

#include "app/window_summary.h"
#include "game/state_hash.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_state.h"

namespace {

class WindowSummaryTest : public ::testing::Test {
protected:
    void SetUp() override { tz::GameState = tz::TGameState{}; }
    void TearDown() override { tz::GameState = tz::TGameState{}; }

    // One tick as the window runs it: what the game does in it is set by the caller.
    template <typename Step>
    void Tick(Step step) {
        follow.BeforeTick();
        step();
        follow.AfterTick();
    }
    static void PlayTick() {
        tz::SetScene(tz::Scene::Play);
        tz::TickRanGameStep = true;
        tz::Score += 10;
    }
    // The last play tick: the ship is gone, the title's set-up is asked for.
    static void GameOverTick() {
        tz::TickRanGameStep = true;
        tz::Score += 10;
        tz::SetScene(tz::Scene::TitleSetup);
        tz::GameState.Play.UserEventPending = true;
    }
    // A tick that runs no game step: only the scene clock moves.
    static void IdleTick() {
        tz::TickRanGameStep = false;
        tz::SceneTimer += 1;
    }
    static void TitleSetUp() {
        tz::GameState.Play.UserEventPending = false;
        tz::SetScene(tz::Scene::Title);
    }

    app::TWindowSummary follow;
    app::RunSummary summary;
};

TEST_F(WindowSummaryTest, HashIsTheStateAfterTheLastGameTickAndItsSetUp) {
    tz::SetScene(tz::Scene::Title);
    Tick(IdleTick);
    for (int i = 0; i < 5; ++i) Tick(PlayTick);
    Tick(GameOverTick);
    // The timer got in twice before the main thread ran the set-up.
    Tick(IdleTick);
    Tick(IdleTick);
    TitleSetUp();
    const std::uint64_t afterSetUp = tz::GameStateHash();
    for (int i = 0; i < 30; ++i) Tick(IdleTick);   // the title, until the window closes
    ASSERT_NE(tz::GameStateHash(), afterSetUp);
    follow.Finish(summary);
    EXPECT_EQ(summary.state, afterSetUp);
    EXPECT_EQ(summary.score, 60);
    EXPECT_EQ(summary.scene, tz::Scene::Title);
    EXPECT_EQ(summary.ticks, 39);
}

TEST_F(WindowSummaryTest, WindowClosedDuringPlayOrBeforeAnyGame) {
    for (int i = 0; i < 3; ++i) Tick(PlayTick);
    follow.Finish(summary);
    EXPECT_EQ(summary.state, tz::GameStateHash());
    EXPECT_EQ(summary.scene, tz::Scene::Play);

    // No game: the state as it is at the end.
    tz::GameState = tz::TGameState{};
    app::TWindowSummary idle;
    tz::SetScene(tz::Scene::Title);
    idle.BeforeTick();
    IdleTick();
    idle.AfterTick();
    app::RunSummary none;
    idle.Finish(none);
    EXPECT_EQ(none.state, tz::GameStateHash());
    EXPECT_EQ(none.ticks, 1);
}

// A set-up still pending when the window closed: nothing later to wait for.
TEST_F(WindowSummaryTest, SetUpNeverRunBeforeTheWindowClosed) {
    Tick(PlayTick);
    Tick(GameOverTick);
    Tick(IdleTick);
    follow.Finish(summary);
    EXPECT_EQ(summary.state, tz::GameStateHash());
}

}  // namespace
