#include "app/window_summary.h"

#include "diagnostics/memcheck.h"
#include "game/state_hash.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_state.h"

namespace app {

void TWindowSummary::BeforeTick() {
    // The title before the first game, set up: a replay's first tick asks for its game at
    // once, so no tick ends at a title that is ready.
    if (!FGameSeen && tz::SceneState == tz::Scene::Title && !tz::GameState.Play.UserEventPending)
        FBlocksAtStart = memcheck::BlockCount();
    if (!FStepPending || tz::GameState.Play.UserEventPending) return;
    // While the game is still in play the coming tick runs the game step again and
    // takes the place of this one: the hash is only needed once play has been left.
    if (InPlayScene(tz::SceneState)) return;
    FHash = tz::GameStateHash();
    FHaveHash = true;
    FStepPending = false;
}

void TWindowSummary::AfterTick() {
    ++FTicks;
    if (tz::TickRanGameStep) FStepPending = true;
    FWatch.Observe(FTicks);
    // The heap at the title before the first game and when the title is back after it, each
    // once the title's set-up (which runs on the main thread, after the tick asking for it)
    // has loaded its banks.
    const bool titleReady = tz::SceneState == tz::Scene::Title && !tz::GameState.Play.UserEventPending;
    if (titleReady && !FGameSeen) FBlocksAtStart = memcheck::BlockCount();
    if (tz::SceneState > tz::Scene::Title) FGameSeen = true;
    if (FGameSeen && !FTitleBack && titleReady) {
        FTitleBack = true;
        FGameBlocks = memcheck::BlockCount() - FBlocksAtStart;
    }
}

void TWindowSummary::Finish(RunSummary& summary) {
    FWatch.Finish();
    if (FStepPending) {
        FHash = tz::GameStateHash();
        FHaveHash = true;
        FStepPending = false;
    }
    summary = RunSummary{};
    FillGameFields(summary);
    summary.ticks = FTicks;
    summary.state = FHaveHash ? FHash : tz::GameStateHash();
    summary.ending = FWatch.ReachedEnding();
    summary.bosses = FWatch.BossesDestroyed();
    summary.gameBlocks = FGameBlocks;
    // Not measured here: the main and audio threads allocate while the timer's ticks run.
    summary.playAllocs = -1;
}

}  // namespace app
