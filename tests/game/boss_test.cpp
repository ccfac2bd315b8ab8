// The bosses: their entry shield, the stage bosses' time-outs, the final boss's forms and
// user events, what their destruction pays and the stage clear it starts.
#include "enemy_fixture.h"
#include "game/tz_enemy_boss.h"

namespace tz::testing {
namespace {

class BossTest : public EnemyTest {
public:
    // Runs the boss until it has entered (State 1).
    static void UntilEntered(TEnemy& boss) {
        ASSERT_TRUE(TickUntil([&] { return boss.State == TPhase::phAttack; }, 1000)) << int(boss.SubType);
    }
};

// The hit rules spare bosses 10, 21, 24 and 25 while they enter (State 0): the mid-boss of
// kind 24 enters again after every teleport and kind 21 after every climb back to the top;
// the stage-1 boss and the final boss enter once.
TEST_F(BossTest, BossesEnterAgainWhereTheirCourseSays) {
    for (const std::uint8_t kind :
         {EnemyKind::Stage1Boss, EnemyKind::Stage2Boss, EnemyKind::ShardMidBoss, EnemyKind::FinalBoss}) {
        TimeLeft = 20000;  // no time-out, no time mark
        TEnemy& boss = Spawn(kind, 320, 0);
        int entries = 0;
        bool wasEntering = false;
        for (int t = 0; t < 4000 && boss.Index > 0; ++t) {
            const bool entering = boss.State == TPhase::phEnter;
            if (entering && !wasEntering) ++entries;
            wasEntering = entering;
            Tick();
        }
        const bool again = kind == EnemyKind::ShardMidBoss || kind == EnemyKind::Stage2Boss;
        if (again) {
            EXPECT_GE(entries, 3) << int(kind);
        } else {
            EXPECT_EQ(entries, 1) << int(kind);
        }
        UnitList.RemoveCharacter(boss);
    }
}

TEST_F(BossTest, Stage1BossLeavesOnceTheTimeIsBelow14840) {
    StageNo = 1;
    TimeLeft = Stage1BossTimeOut + 400;
    TEnemy& boss = Spawn(EnemyKind::Stage1Boss, 320, 0);
    UntilEntered(boss);
    TimeLeft = Stage1BossTimeOut;  // not below yet: it attacks on
    Tick();
    EXPECT_EQ(boss.State, TPhase::phAttack);
    Tick();
    EXPECT_EQ(boss.State, TPhase::phLeave);
    EXPECT_EQ(boss.Direction(), 64);
    EXPECT_EQ(boss.Speed, -64);
    const std::int16_t y = boss.YPos();
    ASSERT_TRUE(TickUntil([&] { return boss.Index < 0; }, 200));
    EXPECT_LT(boss.YPos(), y);  // upward and off the top
    EXPECT_LT(boss.YPos(), -120);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(KilledCount, 0);
    EXPECT_EQ(SceneState, Scene::Play);  // the stage ends by its time mark, later
}

class FinalBossTest : public BossTest {
protected:
    void SetUp() override {
        BossTest::SetUp();
        StageNo = 3;
        requests = UserEventRequests;
        boss = &Spawn(EnemyKind::FinalBoss, 320, 0);
        UntilEntered(*boss);
    }
    int Quakes() const { return CountEffects(Effect::BigExplosion); }
    TEnemy* boss = nullptr;
    std::int32_t requests = 0;
};

TEST_F(FinalBossTest, ChangesForm50TicksAfterFallingTo650WithOneQuake) {
    EXPECT_EQ(UserEventRequests, requests + 1);  // its entry asked for its bank
    EXPECT_EQ(BossLife, 950);
    boss->Life = 650;
    Tick();
    EXPECT_EQ(Quakes(), 1);
    EXPECT_EQ(MyShip.QuakeTimer, 50 - 1);
    EXPECT_EQ(BossLife, 650);  // shown every tick
    EXPECT_EQ(boss->Pattern, FinalBossFirstForm);
    for (int t = 1; t < 50; ++t) Tick();
    EXPECT_EQ(boss->Pattern, FinalBossFirstForm);
    EXPECT_EQ(UserEventRequests, requests + 1);
    Tick();
    EXPECT_EQ(boss->Pattern, FinalBossDamagedForm);
    EXPECT_EQ(UserEventRequests, requests + 2);  // the damaged form's bank and the boss music
    for (int t = 0; t < 20; ++t) Tick();
    EXPECT_EQ(Quakes(), 1);
    EXPECT_EQ(MyShip.QuakeTimer, 0);
    EXPECT_EQ(UserEventRequests, requests + 2);
}

TEST_F(FinalBossTest, ChangesFormAt600IfThatComesFirst) {
    boss->Life = 640;
    for (int t = 0; t < 10; ++t) Tick();
    EXPECT_EQ(boss->Pattern, FinalBossFirstForm);
    boss->Life = 600;
    Tick();
    EXPECT_EQ(boss->Pattern, FinalBossDamagedForm);
    EXPECT_EQ(Quakes(), 1);
    EXPECT_EQ(UserEventRequests, requests + 2);
    // Straight from full strength to 600: the quake, the explosion and the change at once.
    UnitList.RemoveCharacter(*boss);
    for (TEffect& e : Effects) e.Index = -1;
    TEnemy& fresh = Spawn(EnemyKind::FinalBoss, 320, 0);
    UntilEntered(fresh);
    fresh.Life = 600;
    Tick();
    EXPECT_EQ(fresh.Pattern, FinalBossDamagedForm);
    EXPECT_EQ(Quakes(), 1);
}

TEST_F(FinalBossTest, ItsDestructionClearsTheStageAndStopsTheMusic) {
    boss->Life = 500;
    Tick();
    EXPECT_EQ(UserEventRequests, requests + 2);  // the damaged form
    for (int t = 0; t < 100; ++t) Tick();
    boss->Life = 0;
    Tick();
    EXPECT_EQ(Score, 10000);
    EXPECT_EQ(SceneState, Scene::StageClear);
    EXPECT_EQ(SceneTimer, 1);              // set to 0 during the tick, the tally's first
    EXPECT_EQ(TallyX[0], -200 + 12 + 4);   // the tally ran in the same tick
    EXPECT_EQ(MyShip.QuakeTimer, 350 - 1);
    EXPECT_EQ(KilledCount, 1);
    EXPECT_EQ(UserEventRequests, requests + 3);
    Tick();
    EXPECT_LT(boss->Index, 0);
}

TEST_F(BossTest, AStageBossDestroyedDuringAClearDoesNotStartItAgain) {
    TEnemy& boss = Spawn(EnemyKind::Stage1Boss, 320, 0);
    UntilEntered(boss);
    SetScene(Scene::StageClear);
    for (int t = 0; t < 50; ++t) Tick();
    boss.Life = 0;
    Tick();
    EXPECT_EQ(Score, 10000);
    EXPECT_EQ(SceneTimer, 51);
    EXPECT_EQ(MyShip.QuakeTimer, 210 - 1);
}

TEST_F(BossTest, BeamMidBossFiresThreeBeamsAndPaysNothingForItsDestruction) {
    TEnemy& boss = Spawn(EnemyKind::BeamMidBoss, 320, -60);
    int beams = 0;
    std::int32_t lastStep = 0;
    ASSERT_TRUE(TickUntil(
        [&] {
            if (boss.Work3 == 4 && lastStep != 4) ++beams;  // a new firing run
            lastStep = boss.Work3;
            return boss.Index < 0;
        },
        3000));
    EXPECT_EQ(beams, 3);
    EXPECT_LT(boss.YPos(), -120);  // it left over the top

    GroupCount[9] = 1;
    GroupBonus[9] = 1000;
    TEnemy& second = Spawn(EnemyKind::BeamMidBoss, 320, -60, 0, 9);
    for (int t = 0; t < 10; ++t) Tick();
    second.Life = 0;
    Tick();
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(second.State, TPhase::phDown);
    EXPECT_EQ(CountEnemies(EnemyKind::WeaponItem), 1);  // the Laser
    EXPECT_EQ(CountEnemies(EnemyKind::BonusItem), 1);   // its group was complete
    EXPECT_EQ(MyShip.QuakeTimer, 70 - 1);
    EXPECT_EQ(KilledCount, 1);
}

TEST_F(BossTest, ShardMidBossReappearsInTheUpperFieldAndDropsTheLaser) {
    TEnemy& boss = Spawn(EnemyKind::ShardMidBoss, 100, 0);
    UntilEntered(boss);
    ASSERT_TRUE(TickUntil([&] { return boss.State == TPhase::phEnter; }, 1000));
    // Teleported within (160..479, 40..119); it shakes there for 70 ticks.
    EXPECT_GE(boss.XPos(), 160);
    EXPECT_LT(boss.XPos(), 480);
    EXPECT_GE(boss.YPos(), 40);
    EXPECT_LT(boss.YPos(), 120);
    EXPECT_EQ(boss.Timer, 70 - 1);
    boss.Life = 0;
    Tick();
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(CountEnemies(EnemyKind::WeaponItem), 1);
    EXPECT_EQ(MyShip.QuakeTimer, 40 - 1);
}

}  // namespace
}  // namespace tz::testing
