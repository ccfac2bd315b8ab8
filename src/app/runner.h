#pragma once
// Running the program: the windowed game, or a headless run of the same engine and game.

#include <cstdint>
#include <string>

#include "app/options.h"

namespace plat {
class Platform;
}

namespace app {

// What a run reports at its end (headless, or the game window with --summary).
struct RunSummary {
    std::int64_t ticks = 0;
    int scene = 0;
    std::int32_t stage = 0;
    std::int32_t score = 0;
    std::int32_t hiscore = 0;
    std::int32_t replayPos = 0;
    std::int32_t timeLeft = 0;
    std::int32_t lives = 0;
    std::int32_t bombs = 0;
    std::int32_t killed = 0;     // enemies destroyed in the current stage
    std::int32_t spawned = 0;    // spawn entries released in the current stage
    std::int32_t weapon = 0;     // the ship's weapon 0..4
    std::int32_t bonusRate = 0;  // the bonus multiplier 0..8
    bool ending = false;         // the last game reached the ending
    std::int32_t bosses = 0;     // bosses destroyed in the last game
    std::int32_t gameBlocks = 0; // --until-title: heap blocks left over by the game (0 = none)
    std::int64_t playAllocs = 0; // heap allocations made by steps of play that set up no scene (-1: not measured)
    std::int32_t blocks = 0;
    std::uint64_t state = 0;   // hash after the last tick that ran the game step, else after the last tick
};

std::string SummaryJson(const RunSummary& s);
// The summary's fields read from the game as it stands: scene, stage, score, hiscore,
// replay_pos, time_left, lives, bombs, killed, spawned, weapon, bonus_rate.
void FillGameFields(RunSummary& s);
// The scenes whose ticks run the game step (play, stage clear and fade, time over).
bool InPlayScene(std::uint8_t scene);

// The headless run on the given platform: fills the summary (all but blocks) and returns
// the exit code; errors go to stderr.
int RunHeadless(const ProgramOptions& options, plat::Platform& platform, RunSummary& summary);
// The headless run on the null platform, printing the summary when asked for.
int RunHeadless(const ProgramOptions& options);

// The windowed game.
int RunWindowed(const ProgramOptions& options);

// The whole program: options, then one of the above.
int Main(int argc, const char* const* argv);

}  // namespace app
