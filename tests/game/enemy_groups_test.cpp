// Groups and their bonus: a completed group drops one bonus item where its last member went
// down; a member that leaves the field breaks its group; children join their parent's
// groups, even when no record was free for them.
#include "enemy_fixture.h"

namespace tz::testing {
namespace {

class GroupTest : public EnemyTest {
protected:
    // Destroys e now: the next tick runs its destruction.
    static void Destroy(TEnemy& e) { e.Life = 0; }
    static const TEnemy* BonusItem() {
        for (const TEnemy& e : Enemies)
            if (e.Index > 0 && e.SubType == EnemyKind::BonusItem) return &e;
        return nullptr;
    }
};

TEST_F(GroupTest, ACompletedGroupDropsOneItemWhereItsLastMemberWentDown) {
    GroupBonus[7] = 700;
    GroupCount[7] = 3;
    TEnemy& a = Spawn(EnemyKind::GunPod, 200, 100, 0, 7);
    TEnemy& b = Spawn(EnemyKind::GunPod, 300, 120, 0, 7);
    TEnemy& c = Spawn(EnemyKind::GunPod, 400, 140, 0, 7);
    Destroy(a);
    Tick();
    Destroy(b);
    Tick();
    EXPECT_EQ(GroupCount[7], 1);
    EXPECT_EQ(BonusItem(), nullptr);
    Tick();
    const std::int16_t x = c.XPos(), y = c.YPos();
    Destroy(c);
    Tick();
    EXPECT_EQ(GroupCount[7], 0);
    ASSERT_EQ(CountEnemies(EnemyKind::BonusItem), 1);
    // The item started where the last member was when its destruction ran, then moved once.
    const TEnemy& item = *BonusItem();
    EXPECT_EQ(item.XPos(), x);
    EXPECT_NEAR(item.YPos(), y, 2);
    EXPECT_EQ(KilledCount, 3);
}

TEST_F(GroupTest, AnObjectCompletingTwoGroupsDropsOneItemWorthBoth) {
    GroupBonus[1] = 300;
    GroupBonus[2] = 1000;
    GroupCount[1] = 1;
    GroupCount[2] = 2;
    TEnemy& first = Spawn(EnemyKind::GunPod, 200, 100, 0, 2);
    TEnemy& both = Spawn(EnemyKind::GunPod, 300, 100, 0, 1, 2);
    EXPECT_EQ(GroupDown(EnemyRecordIndex(first)), 0);
    EXPECT_EQ(BonusItem(), nullptr);
    EXPECT_EQ(GroupDown(EnemyRecordIndex(both)), 1300);
    EXPECT_EQ(CountEnemies(EnemyKind::BonusItem), 1);
    // Counted out again, a completed group pays nothing more.
    EXPECT_EQ(GroupDown(EnemyRecordIndex(both)), 0);
    EXPECT_EQ(CountEnemies(EnemyKind::BonusItem), 1);
}

TEST_F(GroupTest, AMemberThatLeavesBreaksItsGroup) {
    GroupBonus[4] = 500;
    GroupCount[4] = 2;
    TEnemy& leaver = Spawn(EnemyKind::FallingHeavy, 200, 500, 0, 4);
    TEnemy& stayer = Spawn(EnemyKind::GunPod, 400, 100, 0, 4);
    ASSERT_TRUE(TickUntil([&] { return leaver.Index < 0; }, 100));
    EXPECT_EQ(GroupCount[4], 2);  // leaving is no loss to the group
    EXPECT_EQ(KilledCount, 0);
    Destroy(stayer);
    Tick();
    EXPECT_EQ(GroupCount[4], 1);
    EXPECT_EQ(BonusItem(), nullptr);
}

TEST_F(GroupTest, SpawnedChildrenJoinTheirParentsGroups) {
    GroupBonus[3] = 2000;
    GroupCount[3] = 1;  // the spawner itself
    TEnemy& spawner = Spawn(EnemyKind::FighterSpawner, 320, 0, 0, 3, 5);
    const std::int32_t released = SpawnedCount;
    ASSERT_TRUE(TickUntil([&] { return spawner.Index < 0; }, 100));
    // Nine fighters (Timer 64, 56, .. 0), each a member more; the spawner counted itself out.
    EXPECT_EQ(SpawnedCount - released, 9);
    EXPECT_EQ(CountEnemies(EnemyKind::SwoopingFighter), 9);
    EXPECT_EQ(GroupCount[3], 9);
    EXPECT_EQ(GroupCount[5], 9 - 1);
    EXPECT_EQ(KilledCount, 1);
    for (const TEnemy& e : Enemies)
        if (e.Index > 0) {
            EXPECT_EQ(e.Param1 + 256 * e.Param2, 3 + 256 * 5);
        }
    for (TEnemy& e : Enemies)
        if (e.Index > 0 && e.SubType == EnemyKind::SwoopingFighter) Destroy(e);
    Tick();
    EXPECT_EQ(GroupCount[3], 0);
    EXPECT_EQ(CountEnemies(EnemyKind::BonusItem), 1);
}

TEST_F(GroupTest, AChildWithNoRecordFreeStillCountsInItsGroups) {
    GroupCount[6] = 1;
    TEnemy& layer = Spawn(EnemyKind::MineLayer, 320, 100, 0, 6);
    while (CountEnemies(EnemyKind::BackgroundDrifter) + 1 < EnemyCount) Spawn(EnemyKind::BackgroundDrifter, 320, 0);
    const std::int32_t released = SpawnedCount;
    ASSERT_TRUE(TickUntil([&] { return layer.Work4 < 4; }, 200));
    EXPECT_EQ(CountEnemies(EnemyKind::HomingMine), 0);
    EXPECT_EQ(SpawnedCount - released, 1);
    EXPECT_EQ(GroupCount[6], 2);  // a member that never appeared: the group cannot complete
}

}  // namespace
}  // namespace tz::testing
