// Every kind on its own, and all of them together: started in an empty stage with the ship
// parked, they run their course without leaving the object list and the tables at odds.
#include <set>

#include "diagnostics/memcheck.h"

#include "enemy_fixture.h"
#include "game/tz_kinds.h"

namespace tz::testing {
namespace {

class EveryKind : public EnemyTest, public ::testing::WithParamInterface<int> {};

TEST_P(EveryKind, RunsItsCourseAloneWithTheTablesConsistent) {
    const auto kind = static_cast<std::uint8_t>(GetParam());
    const TEnemyKind& row = EnemyKinds[kind];
    TEnemy& e = Spawn(kind, 200, 100, 64);
    ASSERT_GT(e.Index, 0);
    EXPECT_EQ(e.SubType, kind);
    EXPECT_EQ(e.CharType, TCharType::ctEnemy);
    EXPECT_EQ(e.Radius, row.Radius);
    EXPECT_EQ(e.Range, row.Range);
    EXPECT_EQ(e.Margin, row.Margin);
    EXPECT_EQ(e.Life, row.Life);
    EXPECT_EQ(static_cast<bool>(e.OnCheck), row.Collides);
    EXPECT_EQ(static_cast<bool>(e.OnDraw), row.Drawn);
    ASSERT_EQ(TablesInconsistency(), "");

    // Bosses need longer to show every attack.
    const int ticks = (kind == 7 || kind == 10 || kind == 21 || kind == 24 || kind == 25) ? 1500 : 600;
    std::set<std::uint8_t> bullets;
    for (int t = 0; t < ticks; ++t) {
        Tick();
        const std::string problem = TablesInconsistency();
        ASSERT_EQ(problem, "") << "kind " << int(kind) << " after tick " << t;
        for (const TEnemyShot& b : EnemyShots)
            if (b.Index > 0) bullets.insert(b.BulletKind);
    }
    // Only kinds the bullet table knows were fired.
    for (const std::uint8_t b : bullets) EXPECT_LE(b, Bullet::Cancelled) << int(kind);
    EXPECT_EQ(SceneState, Scene::Play);  // nothing here ends the stage
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, ::testing::Range(0, EnemyKind::Count),
                         [](const ::testing::TestParamInfo<int>& info) { return "Kind" + std::to_string(info.param); });

// Two of every kind at once, some destroyed along the way: children, bursts, wrecks and
// items come and go with the list and the tables in step, and nothing is kept allocated.
TEST_F(EnemyTest, EveryKindTogetherKeepsTheTablesConsistent) {
    GroupBonus[1] = 500;
    for (int round = 0; round < 2; ++round)
        for (int k = 0; k < EnemyKind::Count; ++k)
            Spawn(static_cast<std::uint8_t>(k), static_cast<std::int16_t>(140 + 12 * k + 200 * round), 60, 96,
                  static_cast<std::uint8_t>(k % 3 == 0 ? 1 : 0));
    GroupCount[1] = 20;
    ASSERT_TRUE(memcheck::Active());
    const std::int32_t blocks = memcheck::BlockCount();
    for (int t = 0; t < 2000; ++t) {
        if (t % 97 == 50)  // now and then one object runs out of life
            for (TEnemy& e : Enemies)
                if (e.Index > 0 && e.SubType != EnemyKind::FinalBoss) {
                    e.Life = 0;
                    break;
                }
        Tick();
        ASSERT_EQ(TablesInconsistency(), "") << "after tick " << t;
    }
    EXPECT_EQ(memcheck::BlockCount(), blocks);  // blocks alive: nothing was kept
    EXPECT_GT(KilledCount, 0);
}

}  // namespace
}  // namespace tz::testing
