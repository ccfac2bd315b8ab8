// A replay recorded before the player's controls existed (checked in with what its playback
// gave then) still plays back to the same state; pausing and fast-forwarding a playback, as
// the keys of the game window do, leave that state unchanged.
#include <gtest/gtest.h>

#include <memory>

#include "app/runner.h"
#include "e2e_support.h"
#include "game/state_hash.h"
#include "game/tz_keys.h"
#include "support/fake_platform.h"

namespace {

using namespace e2e;

const fs::path RecordedReplay = fs::path(KORRINDAL_TEST_DATA_DIR) / "AutopilotGame.KRREP";
// What its playback gave when it was recorded (the state hash as taken since it covers the
// piece of music the game has started, whatever the options, rather than the player).
constexpr long long RecordedTicks = 20622;
constexpr long long RecordedScore = 1182380;
constexpr const char* RecordedState = "bc2da1c543190605";

// A headless platform with a keyboard: keys held for the whole run (inputImpl.held), and key
// presses that arrive before chosen steps (displayImpl.pressesBeforeStep, counted from 1), as
// a window would report them.
class KeyboardPlatform final : public testplat::FakePlatform {
public:
    KeyboardPlatform() {
        isHeadless = false;   // its input is read
        displayImpl.presentResult = false;
        displayImpl.keepFrames = false;
    }
};

app::RunSummary Play(KeyboardPlatform& platform, const fs::path& home) {
    app::ProgramOptions options;
    options.headless = true;
    options.home = home.string() + "/";
    options.replay = RecordedReplay.string();
    options.untilTitle = true;
    options.ticks = app::kUntilTitleCap;
    options.ticksCapped = true;
    app::RunSummary summary;
    EXPECT_EQ(app::RunHeadless(options, platform, summary), 0);
    return summary;
}

}  // namespace

TEST(RecordedReplay, PlaysBackAsItDidWhenItWasRecorded) {
    const fs::path home = MakeHome("recorded_replay");
    const RunResult run = RunGame(home, "--replay " + RecordedReplay.string() + " --until-title --no-draw");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Field(run.summary, "ticks"), RecordedTicks);
    EXPECT_EQ(Field(run.summary, "score"), RecordedScore);
    EXPECT_EQ(TextField(run.summary, "state"), RecordedState);
    fs::remove_all(home);
}

TEST(RecordedReplay, PauseAndFastForwardLeaveThePlaybackUnchanged) {
    const fs::path home = MakeHome("playback_controls");
    {
        // P at step 3000 pauses, P at step 3400 resumes: 400 steps run no game tick.
        KeyboardPlatform platform;
        platform.displayImpl.pressesBeforeStep = {{3000, plat::Key::P}, {3400, plat::Key::P}};
        const app::RunSummary s = Play(platform, home);
        EXPECT_EQ(s.ticks, RecordedTicks + 400);
        EXPECT_EQ(s.score, RecordedScore);
        EXPECT_EQ(tz::HashText(s.state), RecordedState);
    }
    {
        // Tab held for the whole playback: four game ticks a step once the game is under way.
        KeyboardPlatform platform;
        platform.inputImpl.held[static_cast<std::size_t>(plat::Key::Tab)] = true;
        const app::RunSummary s = Play(platform, home);
        EXPECT_LT(s.ticks, RecordedTicks / 3);
        EXPECT_EQ(s.score, RecordedScore);
        EXPECT_EQ(tz::HashText(s.state), RecordedState);
    }
    {
        // Both, with the fast-forward key remapped; a press of the old key does nothing.
        tz::KeyBindings[tz::TAction::FastForward] = tz::ParseKeyList("F").Keys;
        KeyboardPlatform platform;
        platform.inputImpl.held[static_cast<std::size_t>(plat::Key::F)] = true;   // also layout B's left: not in a playback
        platform.displayImpl.pressesBeforeStep = {{500, plat::Key::P}, {650, plat::Key::Tab}, {700, plat::Key::P}};
        const app::RunSummary s = Play(platform, home);
        tz::KeyBindings = tz::DefaultKeyBindings();
        EXPECT_LT(s.ticks, RecordedTicks / 3 + 200 + 1);
        EXPECT_GT(s.ticks, RecordedTicks / 4 + 150);
        EXPECT_EQ(s.score, RecordedScore);
        EXPECT_EQ(tz::HashText(s.state), RecordedState);
    }
    // Nothing was saved over the player's replays: playbacks are not recorded.
    EXPECT_FALSE(fs::exists(home / "LastGame.KRREP"));
    fs::remove_all(home);
}
