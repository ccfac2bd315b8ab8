#pragma once
// A playtest autopilot: it chooses the input byte of each tick of play by trying moves on
// copies of the game state (snapshots, with the game's effects silenced) and taking the one
// whose outcome it likes best (autopilot_judge.h). It sees only the game state and its own
// seeded generator, so the games it plays are recorded and replayed like any other.
//
// Levels 0..3: a higher level looks further ahead, decides more often, reacts sooner, tries
// more moves, notices more of the bullets, lines up on targets more keenly and makes fewer
// mistakes. Cornered (every move it tries ends in a hit) it drops a bomb. Its plans allow
// for its own reaction time: the moves it has already decided on come first.

#include <array>
#include <cstdint>

#include "app/autopilot_judge.h"
#include "core/random.h"
#include "game/tz_state.h"

namespace app {

struct TAutopilotLevel {
    std::int32_t Horizon;      // ticks each move is played ahead
    std::int32_t DecideEvery;  // ticks between decisions (the move is held in between)
    std::int32_t Reaction;     // ticks before a decision takes effect
    bool Diagonals;            // tries the four diagonal moves too
    std::int32_t SlipPercent;  // chance of a random move instead of the best one
    std::int32_t Whim;         // up to this much of its own liking added to each move's value
    std::int32_t Overlook;     // percent of the bullets it fails to notice at a decision
    TJudgeSight Sight;
};

inline constexpr std::int32_t AutopilotLevels = 4;
TAutopilotLevel AutopilotLevel(std::int32_t level);

class TAutopilot {
    static constexpr std::size_t Pending = 16;  // room for the reaction delay

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
    // The direction (and bomb) bits already on their way for the next Reaction ticks.
    void Committed(std::array<std::uint8_t, Pending>& bits) const;
    std::uint8_t FireBits(std::int32_t tickOffset) const;
    void Decide(std::uint8_t* feed, std::size_t feedSize);

    TAutopilotLevel FLevel;
    tz::TRandom FRandom;
    TTick FTick;
    void* FContext;
    tz::TGameState FSnapshot{};
    std::array<std::uint8_t, Pending> FCommitted{};
    std::array<bool, tz::EnemyShotCount> FOverlooked{};  // bullets left out of this decision
    std::uint8_t FMove = 0;        // the direction bits of the last decision
    std::int32_t FUntilDecision = 0;
    std::int64_t FSimulated = 0;
    std::int64_t FTicks = 0;       // ticks chosen so far
    // Decisions on their way to the hands: the direction (and bomb) bits for tick t sit at
    // t mod Pending.
    std::array<std::uint8_t, Pending> FPlanned{};
    std::array<bool, Pending> FPlannedSet{};
    std::uint8_t FHeld = 0;        // the bits in effect
};

}  // namespace app
