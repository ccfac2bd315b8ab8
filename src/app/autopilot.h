#pragma once
// A playtest autopilot: it chooses the input byte of each tick of play by trying a few
// moves on copies of the game state (snapshots, with the game's effects silenced) and
// taking the one whose outcome it likes best: alive, away from bullets and enemies, under a
// target, near items. It sees only the game state and its own seeded generator, so the
// games it plays are recorded and replayed like any other.
//
// Levels 0..3: a higher level looks further ahead, decides more often, tries more moves
// and makes fewer mistakes.

#include <cstdint>

#include "core/random.h"
#include "game/tz_state.h"

namespace app {

struct TAutopilotLevel {
    std::int32_t Horizon;      // ticks each move is played ahead
    std::int32_t DecideEvery;  // ticks between decisions (the move is held in between)
    bool Diagonals;            // tries the four diagonal moves too
    std::int32_t SlipPercent;  // chance of a random move instead of the best one
};

inline constexpr std::int32_t AutopilotLevels = 4;
TAutopilotLevel AutopilotLevel(std::int32_t level);

class TAutopilot {
public:
    // Tick runs one tick of the game (the runner's, without drawing); it is called only
    // while the outlet is silenced and the state is restored afterwards.
    using TTick = void (*)(void* context);

    TAutopilot(std::int32_t level, std::uint32_t seed, TTick tick, void* context);

    // The input byte for the tick about to run. Feed is the input file the game reads
    // (its bytes from FeedPos on are overwritten while looking ahead).
    std::uint8_t Choose(std::uint8_t* feed, std::size_t feedSize);

    // Looked-ahead ticks so far (the cost of the autopilot).
    std::int64_t SimulatedTicks() const { return FSimulated; }

private:
    double Outcome(std::uint8_t move, std::uint8_t* feed, std::size_t feedSize);
    std::uint8_t FireBits(std::int32_t tickOffset) const;

    TAutopilotLevel FLevel;
    tz::TRandom FRandom;
    TTick FTick;
    void* FContext;
    tz::TGameState FSnapshot{};
    std::uint8_t FMove = 0;        // the direction bits held until the next decision
    std::int32_t FUntilDecision = 0;
    std::int64_t FSimulated = 0;
};

}  // namespace app
