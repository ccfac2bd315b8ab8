// The weapon item: its fall, spin and light, and the pick-up through the enemies' own
// collision sweep.
#include "play_fixture.h"

namespace tz::test {
namespace {

using ItemsTest = PlayTest;

TEST_F(ItemsTest, AWeaponItemSpinsShowsLitAndIsPickedUpWhereItFalls) {
    TEnemy* item = Spawn(EnemyKind::WeaponItem, MyShip.XPos(), 300, 1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Pattern, 97);
    EXPECT_EQ(item->Work3, 1);
    MoveEnemies();
    EXPECT_EQ(item->Rotation, 4);
    EXPECT_EQ(item->Flash, 1);  // set to 2, then counted down by the frame
    EXPECT_EQ(item->Y, (300 << 16) + 64 * 1024);  // one pixel a tick
    int ticks = 1;
    while (MyShip.Weapon != 1 && ticks < 200) {
        MoveEnemies();
        ++ticks;
    }
    EXPECT_EQ(MyShip.Weapon, 1);
    EXPECT_EQ(item->State, TPhase::phDown);
    EXPECT_GT(item->Index, 0);
    MoveEnemies();  // gone the tick after
    EXPECT_EQ(item->Index, -1);
    EXPECT_EQ(MyShip.Invincible, 140);
}

}  // namespace
}  // namespace tz::test
