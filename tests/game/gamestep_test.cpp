#include <gtest/gtest.h>

#include <vector>

#include "game/state_hash.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_input.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "game/tz_main.h"
#include "game/tz_patterns.h"
#include "game/tz_replay.h"
#include "game/tz_unitlist.h"
#include "game/tz_globals.h"
#include "support/play_setup.h"

namespace tz {
namespace {

// A stage in play (support/play_setup.h), input taken from the replay buffer so every test
// chooses its keys.
class GameStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartStage();
        test::KeysFromReplayBuffer();
    }
    void TearDown() override { ReplayMode = false; }

    // Keys for the next n ticks.
    void Feed(std::uint8_t keys, int n) {
        for (int i = 0; i < n; ++i) ReplayBuffer[static_cast<std::size_t>(fed++)] = keys;
    }
    static void Tick() { test::PlayTick(); }
    int ListedShots() const {
        int n = 0;
        for (const TMyShot& s : MyShots) n += s.Index > 0;
        return n;
    }
    int fed = 0;
};

TEST_F(GameStepTest, Stage1ClearedByTheTimeMarkPaysNoTimeBonus) {
    StageNo = 1;
    TimeLeft = Stage1Mark + 1;
    Tick();
    EXPECT_EQ(TimeLeft, Stage1Mark);
    EXPECT_EQ(SceneState, 4);
    Tick();
    EXPECT_EQ(SceneState, 5);
    EXPECT_EQ(TimeLeft, Stage1Mark);  // the tally does not count time down
    EXPECT_EQ(TallyValue[0], 0);
    EXPECT_EQ(TallyValue[1], 20000);  // two spare ships
    EXPECT_EQ(TallyValue[2], 10000);  // five bombs
    EXPECT_EQ(TallyValue[3], 0);      // nothing was released: no division by zero
}

TEST_F(GameStepTest, TallyValuesOfABossClearAndTheirPayment) {
    TimeLeft = 10000;
    SpawnedCount = 7;
    KilledCount = 3;
    SceneState = 5;
    SceneTimer = 0;
    Tick();
    EXPECT_EQ(TallyValue[0], 228570);  // (1600 * 10000 / 70) rounded down to tens
    EXPECT_EQ(TallyValue[3], 42850);   // 300000 / 7, rounded down to tens
    EXPECT_EQ(TallyX[0], -200 + 12 + 4);

    // Lines slide in from ticks 0, 20, 40, 60 and stop at 220 or just past it.
    while (SceneTimer < 300) Tick();
    for (int i = 0; i < 4; ++i) EXPECT_GE(TallyX[static_cast<std::size_t>(i)], 220) << i;

    // From tick 300 line 0 pays 1145 a tick, then line 1 joins at 320.
    std::vector<std::int32_t> paid;
    for (int t = 300; t < 340; ++t) {
        const std::int32_t before = Score;
        Tick();
        paid.push_back(Score - before);
    }
    EXPECT_EQ(paid[0], 1145);
    EXPECT_EQ(paid[19], 1145);
    EXPECT_EQ(paid[20], 2 * 1145);
    // Lives 20000 = 17 * 1145 + 535: the 18th payment is the remainder.
    EXPECT_EQ(paid[36], 2 * 1145);
    EXPECT_EQ(paid[37], 1145 + 535);
    EXPECT_EQ(paid[38], 1145);
    EXPECT_EQ(TallyValue[1], 0);
    while (SceneState == 5 && SceneTimer < 2000) Tick();
    EXPECT_EQ(SceneState, 6);
    EXPECT_EQ(Score, 228570 + 20000 + 10000 + 42850);
}

TEST_F(GameStepTest, TimeLeftCountsDownOnlyInPlay) {
    Tick();
    EXPECT_EQ(TimeLeft, 19999);
    for (std::uint8_t scene : {5, 6}) {
        SceneState = scene;
        SceneTimer = 1;
        TimeLeft = 5000;
        Tick();
        EXPECT_EQ(TimeLeft, 5000) << int(scene);
    }
    SceneState = 7;
    TimeLeft = 0;
    Tick();
    EXPECT_EQ(TimeLeft, 0);
}

TEST_F(GameStepTest, OppositeKeysResolveDownAndRight) {
    ASSERT_GT(MyShip.Index, 0);
    const std::int32_t x = MyShip.X, y = MyShip.Y;
    Feed(KeyUp | KeyDown | KeyLeft | KeyRight, 1);
    Tick();
    EXPECT_EQ(MyShip.Y - y, 260000);
    EXPECT_EQ(MyShip.X - x, 260000);
    EXPECT_EQ(MyShip.Tilt, 1);  // down is tested last
    EXPECT_EQ(ReplayPos, 1);
}

// The hit test reads the banks' own hit circles: no game window is needed for contact.
TEST_F(GameStepTest, HitCirclesComeFromTheBanksWithoutAWindow) {
    ASSERT_EQ(Form1, nullptr);
    TMyShip other = MyShip;
    EXPECT_TRUE(PatternsTouch(MyShip, other));
    EXPECT_GT(PatternWidth(MyShip.Pattern), 0);
    other.X = MyShip.X + (100 << 16);
    EXPECT_FALSE(PatternsTouch(MyShip, other));
}

TEST_F(GameStepTest, ShipStaysInsideTheSideLimits) {
    MyShip.X = 618 * 65536 + 5;
    Feed(KeyRight, 3);
    Tick();
    Tick();
    EXPECT_EQ(MyShip.X, 619 * 65536);
    Tick();
    EXPECT_EQ(MyShip.X, 619 * 65536);  // no move at 619: the key test fails
}

TEST_F(GameStepTest, ValcanFiresEveryFourthTickAlternatingSides) {
    Feed(KeyFire, 13);
    std::vector<int> fired;
    std::vector<int> offsets;
    for (int t = 0; t < 13; ++t) {
        const int before = ListedShots();
        Tick();
        if (ListedShots() > before) {
            fired.push_back(t);
            for (const TMyShot& s : MyShots)
                if (s.Index > 0 && s.Timer == ShotLife[0] - 1) offsets.push_back(s.XPos() - MyShip.XPos());
        }
    }
    EXPECT_EQ(fired, (std::vector<int>{0, 4, 8, 12}));
    ASSERT_EQ(offsets.size(), 4u);
    // 14 pixels to either side, give or take the spread of the first move.
    EXPECT_NEAR(offsets[0], 14, 1);
    EXPECT_NEAR(offsets[1], -14, 1);
    EXPECT_NEAR(offsets[2], 14, 1);
}

TEST_F(GameStepTest, TiltFollowsTheKeysAndSettles) {
    Feed(KeyLeft, 8);
    for (int i = 0; i < 8; ++i) Tick();
    EXPECT_EQ(MyShip.Tilt, 2);
    EXPECT_EQ(MyShip.TiltLeft, 17);  // 3 on the first tick, then +3 -1
    EXPECT_EQ(MyShip.Pattern, 89 + 2);
    for (int i = 0; i < 16; ++i) Tick();
    EXPECT_EQ(MyShip.Pattern, 85);   // a counter of 1 shows level
    Tick();
    EXPECT_EQ(MyShip.TiltLeft, 0);
    EXPECT_EQ(MyShip.Pattern, 85);
}

void AddBullets(int n) {
    for (int i = 0; i < n; ++i) {
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i)];
        b.Index = 1;
        b.BulletKind = 1;
        b.X = (100 + 20 * i) * 65536;
        b.Y = 100 * 65536;
    }
}

TEnemy& AddCarrierAt(std::int16_t x, std::int16_t y) {
    std::size_t slot = 0;
    while (slot < Enemies.size() && Enemies[slot].Index >= 0) ++slot;
    ScratchEntry = TSpawnEntry{x, 0, 0, 9};
    SpawnEnemy(ScratchEntryIndex, 0);
    TEnemy& e = Enemies[slot];
    EXPECT_GT(e.Index, 0);
    EXPECT_EQ(e.SubType, 9);
    e.SetYPos(y);
    return e;
}

TEST_F(GameStepTest, BombHurtsEnemiesCancelsBulletsAndPays) {
    TEnemy& e = AddCarrierAt(320, 100);
    AddBullets(3);
    Feed(KeyBomb, 2);  // held: only the press counts
    Tick();
    EXPECT_EQ(e.Life, 127 - 4);
    EXPECT_EQ(e.Flash, 20);
    EXPECT_EQ(Score, 300);
    EXPECT_EQ(BonusRate, 1);
    EXPECT_EQ(MyShip.Bombs, 4);
    EXPECT_EQ(MyShip.QuakeTimer, 69);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EnemyShots[static_cast<std::size_t>(i)].BulletKind, Bullet::Cancelled);
    Tick();
    EXPECT_EQ(MyShip.Bombs, 4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EnemyShots[static_cast<std::size_t>(i)].Index, -1);
}

TEST_F(GameStepTest, BombInTimeOverSparesEnemiesButStillCancelsAndPays) {
    SceneState = 7;
    TimeLeft = 0;
    BonusRate = 3;
    TEnemy& e = AddCarrierAt(320, 100);
    AddBullets(2);
    Feed(KeyBomb, 1);
    Tick();
    EXPECT_EQ(e.Life, 127);
    EXPECT_EQ(e.Flash, 0);
    EXPECT_EQ(Score, 200 * 3);
    EXPECT_EQ(EnemyShots[0].BulletKind, Bullet::Cancelled);
    EXPECT_EQ(EnemyShots[1].BulletKind, Bullet::Cancelled);
}

TEST_F(GameStepTest, QuakeCancelsNewBulletsWithoutBonus) {
    MyShip.QuakeTimer = 5;
    AddBullets(1);
    Tick();
    EXPECT_EQ(EnemyShots[0].BulletKind, Bullet::Cancelled);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(MyShip.QuakeTimer, 4);
}

TEST_F(GameStepTest, StageClearFadeLeadsOnByStageAndMode) {
    struct Case {
        std::int32_t stage;
        bool replay;
        std::uint8_t next;
    };
    for (const Case c : {Case{1, false, 3}, Case{2, true, 3}, Case{3, false, 8}, Case{3, true, 1}}) {
        StageNo = c.stage;
        ReplayMode = c.replay;
        SceneState = 6;
        SceneTimer = 99;
        Tick();
        EXPECT_EQ(SceneState, 6);
        const std::int32_t requests = UserEventRequests;
        Tick();
        EXPECT_EQ(SceneState, c.next) << c.stage << c.replay;
        EXPECT_EQ(UserEventRequests, requests + 1);
        EXPECT_EQ(SceneTimer, 1);
    }
}

TEST_F(GameStepTest, ShipFliesOffDuringTheFade) {
    SceneState = 6;
    SceneTimer = 10;
    const std::int32_t y = MyShip.Y;
    Feed(KeyDown | KeyFire, 1);
    Tick();
    EXPECT_EQ(MyShip.Y - y, -(10 << 14));
    EXPECT_EQ(MyShip.Keys, KeyUp);
    EXPECT_EQ(MyShip.Invincible, 2);
    EXPECT_EQ(ListedShots(), 0);
}

TEST_F(GameStepTest, CameraEasesTowardTheShip) {
    EXPECT_EQ(CameraStep(1), 2000);
    EXPECT_EQ(CameraStep(141), 200000);
    MyShip.X = 620 * 65536;            // target 248 pixels
    MapPos.x = 128 * 65536;
    StepCamera();
    EXPECT_EQ(MapPos.x, 128 * 65536 + 200000);
    MapPos.x = 248 * 65536 - 16383;    // under a quarter pixel away: lands
    StepCamera();
    EXPECT_EQ(MapPos.x, 248 * 65536);
}

TEST_F(GameStepTest, EntriesAreReleasedAsTheScrollPassesThem) {
    // Index 3 and 2 share Y 0 and go on the first tick, the higher index first; Y -2 on the third.
    SpawnList[0] = TSpawnEntry{100, -40, 0, 9};
    SpawnList[1] = TSpawnEntry{200, -2, 0, 9};
    SpawnList[2] = TSpawnEntry{300, 0, 0, 9};
    SpawnList[3] = TSpawnEntry{400, 0, 0x0102, 9};
    SpawnList[4] = TSpawnEntry{500, 0, 0, 30};  // not a kind of the game: skipped, still counted
    MapIndex = 4;
    Tick();
    EXPECT_EQ(MapIndex, 1);
    EXPECT_EQ(SpawnedCount, 3);
    EXPECT_EQ(Enemies[0].XPos(), 400);
    EXPECT_EQ(Enemies[0].Param1, 2);
    EXPECT_EQ(Enemies[0].Param2, 1);
    EXPECT_EQ(Enemies[1].XPos(), 300);
    EXPECT_EQ(Enemies[2].Index, -1);
    EXPECT_EQ(SpawnList[3].Y, -40);
    Tick();
    EXPECT_EQ(MapIndex, 1);
    Tick();
    EXPECT_EQ(MapIndex, 0);
    EXPECT_EQ(Enemies[2].XPos(), 200);
}

TEST_F(GameStepTest, CarrierBringsTheShipInAndStartsTheClock) {
    StageNo = 1;
    MapPos = TFixedPoint{};
    SpawnList[0] = TSpawnEntry{320, 0, 0, 9};
    MapIndex = 0;
    TimeLeft = -1;
    StageStart();
    EXPECT_EQ(MyShip.Index, -1);
    EXPECT_EQ(TimeLeft, -1);
    MyShip.Weapon = 3;
    int ticks = 0;
    while (MyShip.Index <= 0 && ticks < 200) {
        Tick();
        ++ticks;
    }
    ASSERT_GT(MyShip.Index, 0);
    const TEnemy& carrier = Enemies[0];
    EXPECT_EQ(carrier.SubType, 9);
    EXPECT_EQ(carrier.State, TPhase::phLeave);
    EXPECT_GT(carrier.YPos(), 300);
    EXPECT_EQ(MyShip.XPos(), 320);
    EXPECT_EQ(MyShip.YPos(), carrier.YPos() - 16);  // placed where the carrier was before its move
    EXPECT_EQ(MyShip.Weapon, 0);
    EXPECT_EQ(TimeLeft, ProcessPerSec * 300 - 1);  // the clock ran in the launch tick already
    Tick();
    EXPECT_EQ(TimeLeft, ProcessPerSec * 300 - 2);
    for (int i = 0; i < 20; ++i) Tick();
    EXPECT_EQ(carrier.Speed, 1024 - 16 * 48);  // brakes to 256 and keeps drifting
    while (carrier.Index > 0 && ticks < 400) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(carrier.Index, -1);  // gone past the bottom
}

TEST_F(GameStepTest, EnemiesLeaveAtTheAreaBounds) {
    TEnemy& low = AddCarrierAt(320, 601);
    TEnemy& high = AddCarrierAt(100, -130);
    TEnemy& wide = AddCarrierAt(761, 100);
    MoveEnemies();
    EXPECT_EQ(low.Index, -1);
    EXPECT_EQ(wide.Index, -1);
    EXPECT_GT(high.Index, 0);  // still entering: kept above the top
    high.State = TPhase::phLeave;
    high.SetYPos(-130);
    MoveEnemies();
    EXPECT_EQ(high.Index, -1);
}

TEST_F(GameStepTest, PushDecaysTowardZero) {
    TEnemy e{};
    e.Work1 = 100000;
    e.Work2 = -30000;
    DecayPush(e, 65536);
    EXPECT_EQ(e.Work1, 100000 - 65536);
    EXPECT_EQ(e.Work2, 0);
}

TEST_F(GameStepTest, StartInsideAStageSkipsPassedEntriesAndSetsTheClock) {
    StageNo = 1;
    for (int i = 0; i < 4; ++i) SpawnList[static_cast<std::size_t>(i)] = TSpawnEntry{0, static_cast<std::int16_t>(-2000 + 200 * i), 0, 9};
    MapIndex = 3;  // Y -1400, -1600, -1800, -2000 from the top index down
    MapPos = TFixedPoint{0, -1700 * 65536};
    StageStart();
    EXPECT_EQ(TimeLeft, 21000 - 1700);
    EXPECT_EQ(MapIndex, 1);
    EXPECT_GT(MyShip.Index, 0);
    EXPECT_EQ(WholePart(MapPos.x), 128);
    EXPECT_EQ(MyShip.Invincible, 70);
    StageNo = 3;
    MapPos = TFixedPoint{0, -100 * 65536};
    StageStart();
    EXPECT_EQ(TimeLeft, 21000 - 100 - 2 * 6300);
}

TEST_F(GameStepTest, LostShipIsTakenOutAndRelaunched) {
    DeadTimer = 1;
    Tick();
    EXPECT_EQ(MyShip.Index, -1);
    EXPECT_EQ(DeadTimer, 2);
    EXPECT_EQ(MyShip.Pattern, -1);
    MyShip.Weapon = 2;
    MyShip.Bombs = 0;
    BonusRate = 4;
    RelaunchShip();
    EXPECT_GT(MyShip.Index, 0);
    EXPECT_EQ(DeadTimer, 0);
    EXPECT_EQ(MyShip.Lives, 1);
    EXPECT_EQ(MyShip.Invincible, 140);
    EXPECT_EQ(MyShip.Weapon, 0);
    EXPECT_EQ(MyShip.Bombs, 5);
    EXPECT_EQ(BonusRate, 0);
    EXPECT_EQ(MyShip.XPos(), 320);
    EXPECT_EQ(MyShip.YPos(), 400);
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

// Two runs of the same input from the same start end in the same state, and the state hash
// sees the game-object tables.
TEST_F(GameStepTest, SameInputGivesTheSameStateHash) {
    SpawnList[0] = TSpawnEntry{250, -30, 0, 9};
    SpawnList[1] = TSpawnEntry{400, -10, 0, 9};
    auto run = [&] {
        SetUp();
        SpawnList[0].Y = -30;
        SpawnList[1].Y = -10;
        MapIndex = 1;
        for (int i = 0; i < 300; ++i)
            ReplayBuffer[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(KeyFire | (i % 60 < 30 ? KeyLeft : KeyRight) | (i == 100 ? KeyBomb : 0));
        for (int i = 0; i < 300; ++i) Tick();
        return GameStateHash();
    };
    const std::uint64_t first = run();
    EXPECT_EQ(run(), first);
    Enemies[7].Work3 += 1;
    EXPECT_NE(GameStateHash(), first);
    Enemies[7].Work3 -= 1;
    StarField[3].Y += 1;
    EXPECT_NE(GameStateHash(), first);
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

TEST(GroupDown, CountsAnObjectOutOfBothGroups) {
    GroupCount[3] = 1;
    GroupCount[4] = 2;
    GroupCount[0] = 5;
    Enemies[9] = TEnemy{};
    Enemies[9].Param1 = 3;
    Enemies[9].Param2 = 4;
    GroupDown(9);
    EXPECT_EQ(GroupCount[3], 0);
    EXPECT_EQ(GroupCount[4], 1);
    EXPECT_EQ(GroupCount[0], 5);  // group 0 means none
    GroupDown(-1);                // outside the table: nothing
    GroupDown(EnemyCount);
}

}  // namespace
}  // namespace tz
