#pragma once
// The replay theatre's seeking: while a replay plays, a snapshot of the whole game state every
// KeyframeInterval steps, in storage reserved up front (nothing is allocated while it plays).
// A seek restores the nearest keyframe at or before the target and plays forward silenced and
// undrawn, so any seek costs at most KeyframeInterval steps of simulation.

#include <cstdint>
#include <vector>

#include "game/tz_state.h"

namespace tz {
class TForm1;
}

namespace app {

inline constexpr std::int64_t KeyframeInterval = 140;

class TTheatre {
public:
    // Room for keyframes of a run of up to maxSteps steps.
    TTheatre(tz::TForm1& form, std::int64_t maxSteps);
    ~TTheatre();
    TTheatre(const TTheatre&) = delete;
    TTheatre& operator=(const TTheatre&) = delete;

    // After each step of the run (counted from 1): takes the keyframe when one is due.
    void AfterStep(std::int64_t step);

    // Brings the game to the state after step `target` from the state after step `current`;
    // returns the step reached: target, or the first keyframe's step (the title, set up) for
    // a target before it. Effects are silent meanwhile; then the music follows the state
    // reached (its piece from its place in it, or silence).
    std::int64_t Seek(std::int64_t target, std::int64_t current);

    // The step of the first keyframe (0 until taken).
    std::int64_t FirstStep() const { return firstStep_; }
    // The simulated steps of the last seek, and the scene set-ups they ran.
    std::int64_t LastSeekSteps() const { return lastSeekSteps_; }
    std::int64_t LastSeekSetUps() const { return lastSeekSetUps_; }

private:
    // One step of the game without its engine: the tick, then the scene set-ups it asked for.
    void SimulateStep();
    std::int64_t KeyframeStep(std::int64_t k) const;

    tz::TForm1& form_;
    std::vector<tz::TGameState> frames_;  // frames_[k]: the state after step KeyframeInterval * k (k >= 1); [0] after firstStep_
    std::int64_t taken_ = 0;              // keyframes held
    std::int64_t firstStep_ = 0;          // the step of frames_[0]
    std::int64_t lastSeekSteps_ = 0;
    std::int64_t lastSeekSetUps_ = 0;
};

}  // namespace app
