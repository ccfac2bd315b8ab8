#pragma once
// The replay theatre in the game window: while a replay plays back, its keys seek, step,
// change the speed and take over, and a timeline shows where the playback stands.
//
//   Left / Right        5 s back / forward (with Shift: 30 s); the pad's d-pad left / right
//   Home / End          the start / the last tick
//   , / .               while paused: one tick back / forward
//   [ / ]               speed 1/4, 1/2, 1, 2, 4, 8
//   Enter               take over (the pad's Back): the player plays on from here
// The pause key (P, the pad's Start) stays the window's; it shows the timeline too.
//
// Keyframes are taken as the replay plays (TTheatre, storage reserved when the replay is
// loaded); every jump goes through TTheatre::Seek on the main thread with the ticks stopped.
// The first key surveys the whole replay once, silently, for its length and the timeline's
// marks. What the theatre keeps (the speed, the marks, when the timeline was last wanted) is
// not game state.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/theatre.h"
#include "app/theatre_timeline.h"
#include "platform/platform.h"

namespace tz {
class TForm1;
}

namespace app {

// What a key or button does in the theatre.
enum class TTheatreKey : std::uint8_t {
    None, Pause, Back, Forward, BackLong, ForwardLong, Start, End, StepBack, StepForward, Slower, Faster, TakeOver
};
TTheatreKey TheatreKeyOf(const plat::WindowEvent& event);

// The playback speeds: game ticks per timer tick, or timer ticks per game tick.
struct TPlaybackSpeed {
    std::int32_t Repeat;
    std::int32_t Divide;
};
inline constexpr std::array<TPlaybackSpeed, 6> PlaybackSpeeds{{{1, 4}, {1, 2}, {1, 1}, {2, 1}, {4, 1}, {8, 1}}};
inline constexpr std::size_t NormalSpeed = 2;
inline constexpr std::int64_t SeekShortSeconds = 5;
inline constexpr std::int64_t SeekLongSeconds = 30;
inline constexpr auto TimelineShown = std::chrono::seconds(2);
inline constexpr auto TimelineFading = std::chrono::milliseconds(500);

class TTheatreControls {
public:
    // Takes the window's playback hooks (ReplayLoaded, PlaybackKeyDown, DrawPlaybackOverlay);
    // gives them back when it goes.
    explicit TTheatreControls(tz::TForm1& form);
    ~TTheatreControls();
    TTheatreControls(const TTheatreControls&) = delete;
    TTheatreControls& operator=(const TTheatreControls&) = delete;

    // Before each game tick (timer thread, engine locked): the step done is counted and its
    // keyframe taken when one is due.
    void BeforeTick();

    // What the keys call (main thread, outside the engine's events). Each stops the ticks
    // while it works and does nothing (false) unless a replay plays back in a play scene.
    bool Press(TTheatreKey key);
    bool SeekTo(std::int64_t step);

    // The step the game stands at, counted as a headless run counts them: the title's set-up
    // is step 1, then each tick one step.
    std::int64_t Step() const { return step_.load(); }
    // The steps of the replay's start (its first in play), its last in play, and the one after
    // (which ends the playback); known once surveyed.
    std::int64_t StartStep() const { return startStep_; }
    std::int64_t LastStep() const { return lastStep_; }
    std::int64_t EndStep() const { return lastStep_ + 1; }
    const TTimelineMarks& Marks() const { return marks_; }
    const TPlaybackSpeed& Speed() const { return PlaybackSpeeds[speed_]; }

private:
    void Loaded();
    bool KeyDown(const plat::WindowEvent& event);
    void DrawOverlay();
    // A playback in a play scene with its first keyframe (ticks stopped or engine locked).
    bool Active() const;
    bool ActiveNow();
    void Survey();
    void Jump(std::int64_t target);

    tz::TForm1& form_;
    std::unique_ptr<TTheatre> theatre_;
    std::atomic<std::int64_t> step_{0};
    bool surveyed_ = false;
    std::int64_t startStep_ = 0;
    std::int64_t lastStep_ = 0;
    std::size_t speed_ = NormalSpeed;
    TTimelineMarks marks_;
    std::chrono::steady_clock::time_point shownUntil_{};
};

// {"timeline":{"step":S,"first":F,"last":L,"stage":[...],"boss":[...],"life":[...]}}: where the
// game stands and what the timeline shows (the marks' steps by kind).
std::string TimelineJson(const TTheatreControls& controls);

}  // namespace app
