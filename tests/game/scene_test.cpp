// The scene machine's ticks, timers and transitions, driven through the game window's
// handlers with the engine not started (its drawing and palette calls then do nothing).
#include <gtest/gtest.h>

#include <cstdlib>

#include <memory>

#include "game/state_hash.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "game/tz_unitlist.h"
#include "game/tz_input.h"
#include "core/data_path.h"
#include "core/random.h"
#include "game/tz_replay.h"
#include "platform/platform.h"

using namespace tz;

namespace {

class SceneTest : public ::testing::Test {
protected:
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform();
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        GameState = TGameState{};  // nothing an earlier test left (the music's clock among it)
        form = std::make_unique<TForm1>(*platform);
        form->Sprite.OnUserEvent = nullptr;  // the stored title request is not wanted here
        ReplayMode = false;
        ReplayPos = 0;
        StartFrom = 0;
        Score = 0;
        HiScore = 0;
        DeadTimer = 0;
        MyShip = TMyShip{};
        MyShip.Index = -1;
        // An empty stage: no objects and no map entries left by earlier tests.
        auto clear = [](auto& table) {
            for (auto& r : table) {
                r = std::remove_reference_t<decltype(r)>{};
                r.Index = -1;
            }
        };
        clear(Effects);
        clear(Enemies);
        clear(EnemyShots);
        clear(MyShots);
        MapIndex = -1;
        UnitList.SetupSlots();
    }
    void TearDown() override { form.reset(); }

    bool Requested() {
        const bool r = static_cast<bool>(form->Sprite.OnUserEvent);
        form->Sprite.OnUserEvent = nullptr;
        return r;
    }
};

// Inside the window's own code an unqualified call to the game's effects must reach the
// outlet (which a look-ahead silences), never a member of the window that goes straight to
// the engine: no member may share a name with the outlet's calls.
template <class T>
concept SharesAnOutletName = requires { &T::PlaySE; } || requires { &T::StartMusic; } ||
                             requires { &T::StopMusic; } || requires { &T::FadeToWhite; } ||
                             requires { &T::FadeToBlack; } || requires { &T::FillScreens; } ||
                             requires { &T::RequestUserEvent; };
static_assert(!SharesAnOutletName<TForm1>);

}  // namespace

TEST(TitleLetters, AppearOneAfterAnother) {
    const std::array<std::int32_t, 4> first{56, 96, 136, 176};
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(TitleLetterCopies(i, first[static_cast<std::size_t>(i)] - 1), 0) << i;
        EXPECT_EQ(TitleLetterCopies(i, first[static_cast<std::size_t>(i)]), 1) << i;
        EXPECT_EQ(TitleLetterCopies(i, 130 + 40 * i - 1), 4) << i;
        EXPECT_EQ(TitleLetterCopies(i, 130 + 40 * i), 5) << i;
        EXPECT_EQ(TitleLetterCopies(i, 100000), 5) << i;
        EXPECT_EQ(TitleLetterCopies(i, 0), 0) << i;
    }
    // The copies bob on the sine table: 445 + sin * 8 / 1024.
    EXPECT_EQ(TitleLetterY(0, 0, 0), 445);
    EXPECT_EQ(TitleLetterY(0, 0, 256 - 128), 437);  // direction -64 = 192: sine -1024
    EXPECT_EQ(TitleLetterY(2, 0, 0), 453);          // direction 64
}

TEST_F(SceneTest, TitleStartsOnFirePressReplayOrStartFrom) {
    SetScene(Scene::Title);
    form->SpriteProcess();
    EXPECT_FALSE(Requested());
    EXPECT_EQ(SceneTimer, 1);

    ReplayMode = true;
    ReplayPos = 0;
    form->SpriteProcess();
    EXPECT_TRUE(Requested());
    ReplayMode = false;

    StartFrom = 5;
    form->SpriteProcess();
    EXPECT_TRUE(Requested());
    StartFrom = 0;
}

TEST_F(SceneTest, TimeOverShows280TicksThenTheTitle) {
    SetScene(Scene::Play);
    StageNo = 3;
    TimeLeft = 1;
    MyShip.Lives = 2;
    form->SpriteProcess();  // the game step spends the last tick
    EXPECT_EQ(TimeLeft, 0);
    EXPECT_EQ(SceneState, Scene::Play);
    form->SpriteProcess();
    EXPECT_EQ(SceneState, Scene::TimeOver);
    EXPECT_EQ(DeadTimer, 2);  // set to 1, then counted by the game step
    EXPECT_EQ(SceneTimer, 1);
    std::int32_t ticks = 1;
    while (SceneState == Scene::TimeOver && ticks < 1000) {
        EXPECT_FALSE(Requested()) << ticks;
        form->SpriteProcess();
        ++ticks;
    }
    EXPECT_EQ(ticks, TimeOverTicks + 1);
    EXPECT_EQ(SceneState, Scene::TitleSetup);
    EXPECT_TRUE(Requested());
    EXPECT_EQ(TimeLeft, 0);  // frozen
}

TEST_F(SceneTest, HiScoreFollowsTheScoreOnlyWhenPlaying) {
    SetScene(Scene::Play);
    TimeLeft = 5000;
    StageNo = 3;
    HiScore = 100;
    Score = 150;
    ReplayMode = true;
    for (int i = 0; i < 10; ++i) form->SpriteProcess();
    EXPECT_EQ(HiScore, 100);
    ReplayMode = false;
    form->SpriteProcess();
    EXPECT_EQ(HiScore, 150);
}

TEST_F(SceneTest, CreditsEndAt4400AndTheTitleReturns) {
    SetScene(Scene::Credits);
    for (std::int32_t t = 0; t < CreditsTicks; ++t) {
        ASSERT_EQ(SceneTimer, t);
        form->SpriteProcess();
        ASSERT_EQ(SceneState, Scene::Credits) << t;
        ASSERT_FALSE(Requested()) << t;
    }
    form->SpriteProcess();
    EXPECT_EQ(SceneState, Scene::TitleSetup);
    EXPECT_EQ(SceneTimer, 0);  // the ending tick does not count
    EXPECT_TRUE(Requested());
    // The ship flew off from (480, 600) by (-2, -10) a tick, from tick 4100 to 4400.
    EXPECT_EQ(MyShip.XPos(), 480 - 2 * 301);
    EXPECT_EQ(MyShip.YPos(), 600 - 10 * 301);
}

TEST_F(SceneTest, CreditsPictureWritesNoGameState) {
    // The same credits ticks with and without frames give the same state at every tick.
    std::vector<std::uint64_t> quiet, drawn;
    for (int pass = 0; pass < 2; ++pass) {
        SetUp();
        MapPos = TFixedPoint{};
        RandSeed = 7;
        ScatterStars();
        RandSeed = 7;
        DrawRandom.seed = 0;
        SetScene(Scene::Credits);
        auto& trace = pass == 0 ? quiet : drawn;
        for (std::int32_t t = 0; t < CreditsTicks; ++t) {
            form->SpriteProcess();
            if (pass == 1) form->SpriteRefresh();
            trace.push_back(GameStateHash());
        }
    }
    ASSERT_EQ(quiet.size(), drawn.size());
    for (std::size_t i = 0; i < quiet.size(); ++i) ASSERT_EQ(quiet[i], drawn[i]) << "tick " << i;
    EXPECT_NE(DrawRandom.seed, 0u);  // the sparks did draw numbers, from the drawing generator
}

namespace {

// The game window with its engine started on the null platform; every step is one tick and
// one frame, as in headless runs.
class StartedWindowTest : public SceneTest {
protected:
    void Start() {
        form->Sprite.OnUserEvent = [this] { form->SpriteUserEvent(); };  // as stored
        form->Sprite.SetExternalClock(true);
        form->Sprite.SetFullScreenMode(false);
        form->Show();
        ASSERT_TRUE(form->Sprite.LastFailure().empty()) << form->Sprite.LastFailure();
    }
    void Step() { form->Sprite.HeadlessStep(true); }
    void TearDown() override {
        StartFrom = 0;
        ReplayMode = false;
        ReplayPos = 0;
        form->Sprite.Close();
        EXPECT_FALSE(BgSurface);  // released by the termination
        SceneTest::TearDown();
    }
};

}  // namespace

TEST_F(StartedWindowTest, StartFromCreditsChainsNewGameStageAndEndingInOneStep) {
    StartFrom = 5;
    Start();
    Step();
    ASSERT_EQ(SceneState, Scene::Title) << form->Sprite.LastFailure();
    Step();  // the title requests a game: new game, stage set-up and ending set-up run back to back
    EXPECT_EQ(SceneState, Scene::Credits) << form->Sprite.LastFailure();
    EXPECT_EQ(StageNo, 3);
    EXPECT_EQ(MusicPiece, Music::Ending);
    EXPECT_EQ(MyShip.Lives, 2);
    EXPECT_EQ(MyShip.Bombs, 5);
    // Closing the window stops the music player, not the game: a summary taken afterwards is
    // the state the last tick left.
    const std::uint64_t before = GameStateHash();
    form->Sprite.Close();
    EXPECT_EQ(GameStateHash(), before);
}

TEST_F(StartedWindowTest, TitleSetupEndsAPlaybackAndANewGameResetsTheShip) {
    Start();
    ReplayMode = true;
    ReplayPos = 40;  // a playback has run
    SetScene(Scene::TitleSetup);
    form->ArmUserEvent();
    Step();
    EXPECT_EQ(SceneState, Scene::Title);
    EXPECT_FALSE(ReplayMode);

    // Whatever the last game left in the ship record does not reach the next one.
    MyShip.Weapon = 3;
    MyShip.FireWait = 5;
    MyShip.Burst = 2;
    MyShip.Tilt = 2;
    MyShip.TiltLeft = 17;
    MyShip.Keys = KeyFire;
    form->SpriteUserEvent();  // the title's new game (then the stage set-up is requested)
    EXPECT_EQ(SceneState, Scene::StageSetup);
    EXPECT_EQ(MyShip.Weapon, 0);
    EXPECT_EQ(MyShip.FireWait, 0);
    EXPECT_EQ(MyShip.Burst, 0);
    EXPECT_EQ(MyShip.Tilt, 0);
    EXPECT_EQ(MyShip.TiltLeft, 0);
    EXPECT_EQ(MyShip.Keys, 0);
    EXPECT_EQ(MyShip.Lives, 2);
    EXPECT_EQ(MyShip.Bombs, 5);
    EXPECT_EQ(ReplayPos, 0);
    EXPECT_EQ(TimeLeft, -1);
}

TEST_F(SceneTest, ReplaySaveFailureIsReportedOnceAndTheGameGoesOn) {
    // Neither the program's folder nor the user's data folder can take the file.
    SetProgramDir("/nonexistent-korrindal-folder/");
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", "/proc/self/status/korrindal-data", 1);
    ReplayBuffer[0] = 1;
    ReplayPos = 1;
    Score = HiScore = 10;
    const TFinishedGameSave result = SaveFinishedGame(false);
    EXPECT_FALSE(result.HighScore.Ok);
    EXPECT_FALSE(result.LastGame.Ok);  // attempted though the first failed
    EXPECT_EQ(ReplayPos, 0);
    form->ReportSaveFailures(result);
    const std::string first = form->SaveError();
    EXPECT_NE(first.find("HighScore.KRREP"), std::string::npos) << first;
    EXPECT_NE(form->Caption.find(first), std::string::npos) << form->Caption;
    form->ReportSaveFailures(result);
    EXPECT_EQ(form->SaveError(), first);  // the caption keeps the first report
    SetProgramDir("");
    if (old) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}
