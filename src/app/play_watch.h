#pragma once
// Watches a headless game from outside, after every step: the bosses destroyed and whether
// the game reached the ending (for the summary), and, when asked, a play log of what
// happened where (lives lost, bombs, weapons picked up, bosses in and out, the busiest
// moment of each stage) for the playtest tools. It only reads the game state, so a watched
// game plays exactly like any other.
//
// Play log lines are JSON objects, one per event:
//   {"event":"stage","stage":2,"tick":6712,"time_left":14590}      a stage begins (in play)
//   {"event":"life","stage":1,"pos":1834,"tick":1905,"x":300,"y":410,"bullet":5,"enemy":1}
//       the ship was destroyed at (x, y); the kind of the bullet right by it and of the
//       nearest craft (-1: none), the likely culprits
//   {"event":"bomb","stage":1,"pos":1900,"tick":1970}
//   {"event":"weapon","stage":1,"pos":720,"tick":790,"weapon":3}   a weapon item picked up
//   {"event":"boss_in","stage":1,"pos":4375,"tick":4410,"kind":10}
//   {"event":"boss_down","stage":1,"pos":5200,"tick":5235,"kind":10}
//   {"event":"boss_gone","stage":1,"pos":6200,"tick":6235,"kind":10}  left, or the game ended
//   {"event":"time_over","stage":3,"pos":5000,"tick":21050}
//   {"event":"busy","stage":1,"pos":3300,"tick":3335,"objects":57}  the stage's busiest step
//   {"event":"busy_waves","stage":1,...}       the same among the steps without a boss
//   {"event":"lull","stage":1,"pos":2410,"tick":2450,"ticks":160}
//       from pos on, for ticks steps (at least LullTicks), nothing on screen could be shot
// pos is the stage's scroll position (units scrolled since the stage began); tick counts the
// run's steps from 1.

#include <array>
#include <cstdint>
#include <cstdio>

#include "game/tz_state.h"

namespace app {

// A boss or mid-boss's kind of enemy.
bool IsBossKind(std::uint8_t kind);

// The shortest stretch with nothing to shoot that the play log reports.
inline constexpr std::int32_t LullTicks = 140;

class TPlayWatch {
public:
    // Log: where the play log goes (nullptr: none).
    explicit TPlayWatch(std::FILE* Log = nullptr) : FLog(Log) { FBossKind.fill(-1); }

    // After each step of the run (Step counts from 1).
    void Observe(std::int64_t Step);
    // At the end of the run: bosses still present are logged as gone, the busiest moments
    // of the stages are written.
    void Finish();

    std::int32_t BossesDestroyed() const { return FBossesDestroyed; }
    bool ReachedEnding() const { return FEnding; }

private:
    void NewGame();
    void LifeLost(std::int64_t Step);
    void Event(const char* Name, std::int64_t Step, const char* Extra = nullptr, std::int64_t Value = 0);
    void WatchEnemies(std::int64_t Step);
    void FlushBusy();
    void WatchLull(std::int64_t Step, bool InPlay);

    std::FILE* FLog;
    std::uint8_t FScene = 0;
    std::int32_t FStage = 0;
    std::int32_t FBossesDestroyed = 0;
    bool FEnding = false;
    bool FInStage = false;
    std::int32_t FDeadTimer = 0;
    std::int32_t FBombs = 0;
    // Per enemy record: the boss kind seen in it (-1 none) and whether its destruction or
    // pick-up has been counted.
    std::array<std::int16_t, tz::EnemyCount> FBossKind{};
    std::array<bool, tz::EnemyCount> FCounted{};
    struct TBusiest {
        std::int32_t Objects = -1;
        std::int32_t Pos = 0;
        std::int64_t Step = 0;
    };
    TBusiest FBusy, FBusyWaves;
    std::int64_t FLullStep = -1;  // the step a stretch with nothing to shoot began, -1 none
    std::int32_t FLullPos = 0;
    std::int64_t FLastStep = 0;
};

}  // namespace app
