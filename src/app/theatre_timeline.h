#pragma once
// The replay theatre's timeline: where a playback stands in its replay, as times, with marks
// where the stages begin, where bosses come and where lives are lost. The marks are gathered
// by following a run of the replay step by step; the timeline is drawn over the bottom of the
// screen. Neither reaches the game state.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "game/tz_types.h"

namespace engine {
class TSpriteEx;
}

namespace app {

enum class TMarkKind : std::uint8_t { Stage, Boss, LifeLost };

struct TTimelineMark {
    std::int64_t Step = 0;
    TMarkKind Kind = TMarkKind::Stage;
};

inline constexpr std::size_t TimelineMarkRoom = 96;

class TTimelineMarks {
public:
    void Clear();
    // After each step of a run, in order: the state after `step`.
    void Observe(std::int64_t step);
    std::span<const TTimelineMark> Marks() const { return {marks_.data(), count_}; }

private:
    void Add(std::int64_t step, TMarkKind kind);

    std::array<TTimelineMark, TimelineMarkRoom> marks_{};
    std::size_t count_ = 0;
    std::int32_t stage_ = 0;
    std::int32_t deadTimer_ = 0;
    std::array<bool, tz::EnemyCount> boss_{};   // the record holds a boss
};

// What the timeline shows: the steps of the start, the end and the position, the marks, and
// the playback's speed as a fraction (1/4 .. 8/1).
struct TTimelineView {
    std::int64_t First = 0;
    std::int64_t End = 0;
    std::int64_t At = 0;
    std::span<const TTimelineMark> Marks;
    std::int32_t SpeedNum = 1;
    std::int32_t SpeedDen = 1;
    double Brightness = 1.0;   // 1 shown, toward 0 as it fades out
};

// "m:ss" of a number of steps at the game's rate, into `out` (at least 12 characters);
// returns the length.
std::size_t FormatSteps(std::int64_t steps, char* out);

// Draws the timeline over the bottom of the back buffer (refresh, engine locked).
void DrawTimeline(engine::TSpriteEx& sprite, const TTimelineView& view);

}  // namespace app
