// End to end, inside the test's process so the music unit can be asked: the music after
// seeks in a replay. A whole recorded game is played straight with its sound rendered tick
// by tick as --audio-out renders it, noting after each step the piece the player plays and
// where it is in it; the same playback then seeks, and after each seek (and the tick of
// sound that follows it) plays the straight run's piece within 50 ms of the same place.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/theatre.h"
#include "audio/audio_output.h"
#include "audio/music.h"
#include "core/data_path.h"
#include "e2e_support.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "platform/audio_device.h"
#include "platform/platform.h"
#include "platform/soundfont.h"

using namespace e2e;

namespace {

const fs::path Replay = fs::path(KORRINDAL_TEST_DATA_DIR) / "AutopilotGame.KRREP";
constexpr std::int64_t kSteps = 21000;   // the whole game, the ending and the title after it
constexpr double kToleranceMs = 50.0;

struct TMusicAt {
    std::uint8_t Piece = 0;          // the game state's
    std::int32_t PieceTicks = 0;
    audio::TMusicNow Now;            // the music unit's
};

class TheatreMusic : public ::testing::Test {
protected:
    fs::path home = MakeHome("theatre_music");
    std::unique_ptr<plat::Platform> platform;
    std::unique_ptr<tz::TForm1> form;
    std::unique_ptr<app::TTheatre> theatre;
    std::vector<TMusicAt> straight;   // [t]: after step t and its tick of sound
    std::int64_t at = 0;

    void SetUp() override {
        ASSERT_FALSE(plat::findSoundFont().empty()) << "no soundfont: scripts/install-deps.sh installs one";
        tz::SetProgramDir(home.string());
        platform = plat::makeNullPlatform(plat::NullAudio::Offline);
        form = std::make_unique<tz::TForm1>(*platform);
        theatre = std::make_unique<app::TTheatre>(*form, kSteps);
        ASSERT_TRUE(form->LoadReplay(Replay.string()).Ok);
        form->Show();
        form->Sprite.SetExternalClock(true);
        straight.resize(kSteps + 1);
        for (at = 1; at <= kSteps; ++at) {
            form->Sprite.HeadlessStep(false);
            theatre->AfterStep(at);
            straight[static_cast<std::size_t>(at)] = Now();
        }
        at = kSteps;
    }
    void TearDown() override {
        theatre.reset();
        form.reset();
        platform.reset();
        tz::SetProgramDir("");
        fs::remove_all(home);
    }

    // One tick of sound, as --audio-out renders it after each step; then what plays.
    TMusicAt Now() {
        static std::array<float, 2 * plat::kAudioRate> buffer;
        const auto frames = static_cast<int>(plat::kAudioRate * form->Sprite.TimerPeriodUs() / 1'000'000);
        EXPECT_TRUE(audio::PullAudio(buffer.data(), frames));
        return TMusicAt{tz::MusicPiece, tz::MusicTicks, audio::MusicNow()};
    }

    // Seeks to target and checks the music against the straight run's there.
    void SeekAndCompare(std::int64_t target, const char* what) {
        at = theatre->Seek(target, at);
        ASSERT_EQ(at, target) << what;
        const TMusicAt got = Now();
        const TMusicAt& want = straight[static_cast<std::size_t>(target)];
        ASSERT_EQ(got.Piece, want.Piece) << what << " at step " << target;
        EXPECT_EQ(got.Now.Name, want.Now.Name) << what << " at step " << target;
        EXPECT_EQ(got.Now.PositionMs < 0, want.Now.PositionMs < 0) << what << " at step " << target;
        EXPECT_NEAR(got.Now.PositionMs, want.Now.PositionMs, kToleranceMs)
            << what << " at step " << target << " (" << want.Now.Name << ", " << want.PieceTicks << " ticks in)";
    }
};

TEST_F(TheatreMusic, AfterASeekThePieceOfTheStraightRunPlaysFromItsPlace) {
    // The straight run's pieces: where each starts, and where none plays after one has.
    std::vector<std::int64_t> starts;
    std::int64_t silent = 0;
    for (std::int64_t t = theatre->FirstStep() + 1; t <= kSteps; ++t) {
        const TMusicAt& m = straight[static_cast<std::size_t>(t)];
        if (m.Piece != tz::Music::None && m.PieceTicks == 0) starts.push_back(t);
        if (m.Piece == tz::Music::None && !starts.empty()) silent = t;
    }
    ASSERT_GE(starts.size(), 4u) << "the three stages' pieces and the boss's";
    ASSERT_GT(silent, 0) << "the end of the game";

    // Onto the step that starts each piece, from far away; a step on from it; back across the
    // change into the piece before (or the title's silence).
    for (const std::int64_t s : starts) {
        SeekAndCompare(s + 2000 <= kSteps ? s + 2000 : theatre->FirstStep(), "away");
        SeekAndCompare(s, "the step that starts a piece");
        SeekAndCompare(s + 1, "a step into a piece");
        SeekAndCompare(std::max(s - 40, theatre->FirstStep()), "back across a piece change");
    }
    SeekAndCompare(silent, "where no music plays");

    // A step on keeps the piece going; a seek elsewhere starts it again there.
    SeekAndCompare(starts.front() + 3000, "into a stage");
    const std::uint32_t starts0 = audio::MusicNow().Starts;
    SeekAndCompare(at + 1, "one step on");
    EXPECT_EQ(audio::MusicNow().Starts, starts0);
    SeekAndCompare(at - 1, "one step back");
    SeekAndCompare(at + 700, "ten seconds on");
    EXPECT_GT(audio::MusicNow().Starts, starts0);

    // With the music option off, a seek plays none.
    tz::EnableBGM = false;
    at = theatre->Seek(starts.front() + 1000, at);
    EXPECT_EQ(audio::MusicNow().Name, "");
    EXPECT_EQ(tz::MusicPiece, straight[static_cast<std::size_t>(at)].Piece);
    tz::EnableBGM = true;

    std::mt19937 rng(2612);
    std::uniform_int_distribution<std::int64_t> pick(theatre->FirstStep(), kSteps);
    for (int i = 0; i < 40; ++i) SeekAndCompare(pick(rng), "a random step");
}

}  // namespace
