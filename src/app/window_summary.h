#pragma once
// --summary in the game window: follows the game tick by tick and, once the window has
// closed, gives the same summary line a headless run of that game gives.
//
// The state hash is the one after the last tick that ran the game step, with the scene
// set-up that tick asked for (the title after the game over, the next stage) done, as in
// a headless step: a tick, then its set-up. In the window the set-up runs on the main
// thread, so the hash is taken at the start of the next tick once no set-up is pending
// (ticks that run before it, with the scene waiting for its set-up, only count the scene
// clock, which the set-up restarts), or at the end when the window closed first. Title
// ticks after the game never change it.

#include <cstdint>

#include "app/play_watch.h"
#include "app/runner.h"

namespace app {

class TWindowSummary {
public:
    // Around each game tick: on the timer thread, the engine lock held.
    void BeforeTick();
    void AfterTick();
    // Once the game window's loop has ended (no tick runs any more): the summary of the
    // game, all but blocks.
    void Finish(RunSummary& summary);

private:
    TPlayWatch FWatch;
    std::int64_t FTicks = 0;
    bool FStepPending = false;   // a tick ran the game step; its hash is not taken yet
    bool FHaveHash = false;
    std::uint64_t FHash = 0;
    bool FGameSeen = false;      // a game has left the title
    bool FTitleBack = false;     // the title came back after a game
    std::int32_t FBlocksAtStart = 0;
    std::int32_t FGameBlocks = 0;
};

}  // namespace app
