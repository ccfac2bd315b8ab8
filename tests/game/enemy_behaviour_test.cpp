// What the ordinary kinds do: destruction and its wreck, fire rules, bursts, spawners and
// removal at the edges of the area.
#include <vector>

#include "enemy_fixture.h"
#include "game/tz_enemy_mines.h"

namespace tz::testing {
namespace {

// The bullets started during one tick: the slots EnemyShotNext passed over (the table is
// otherwise empty in these tests, so each spawn takes the next slot).
struct Fired {
    std::int32_t count;
    std::uint8_t kind;  // of the last one
};
Fired TickAndWatchFire() {
    const std::int32_t before = EnemyShotNext;
    EnemyTest::Tick();
    const std::int32_t n = (EnemyShotNext - before + EnemyShotCount) % EnemyShotCount;
    return {n, EnemyShots[static_cast<std::size_t>(EnemyShotNext)].BulletKind};
}

TEST_F(EnemyTest, ADestroyedCraftLeavesItsWreckScoresAndIsGoneTheNextTick) {
    struct Case {
        std::uint8_t kind;
        std::int32_t points;
        bool dropsWeapon;
    };
    for (const Case c : {Case{EnemyKind::Diver, 300, false}, Case{EnemyKind::GunPod, 300, false},
                         Case{EnemyKind::SideCrosser, 500, true}, Case{EnemyKind::FastDiver, 100, false},
                         Case{EnemyKind::MineLayer, 500, false}, Case{EnemyKind::RingMine, 100, false}}) {
        TEnemy& e = Spawn(c.kind, 300, 200);
        Tick();
        const std::int32_t score = Score, killed = KilledCount;
        e.Life = 0;
        Tick();
        EXPECT_EQ(e.State, TPhase::phDown) << int(c.kind);
        EXPECT_EQ(e.CharType, TCharType::ctDying) << int(c.kind);
        EXPECT_EQ(Score - score, c.points) << int(c.kind);
        EXPECT_EQ(KilledCount - killed, 1) << int(c.kind);
        EXPECT_GE(CountEffects(Effect::ScoreLabel), 1) << int(c.kind);
        EXPECT_EQ(CountEnemies(EnemyKind::WeaponItem), c.dropsWeapon ? 1 : 0) << int(c.kind);
        EXPECT_GT(e.Index, 0) << int(c.kind);  // still listed for this tick
        Tick();
        EXPECT_LT(e.Index, 0) << int(c.kind);
        EXPECT_EQ(Score - score, c.points) << "scored once: " << int(c.kind);
        for (TEnemy& r : Enemies) UnitList.RemoveCharacter(r);
    }
}

// In stage 1 a fighter climbing away drops nearly straight bullets every 8 ticks wherever
// it is; in later stages it fires aimed ones every 16 ticks, only well inside the top.
TEST_F(EnemyTest, SwoopingFighterFiresByTheStage) {
    for (const std::int32_t stage : {1, 2}) {
        StageNo = stage;
        int shots = 0;
        for (const std::int16_t x : {140, 180, 330, 480}) {
            TEnemy& f = Spawn(EnemyKind::SwoopingFighter, x, -20);
            for (int t = 0; t < 300 && f.Index > 0; ++t) {
                const bool leaving = f.State == TPhase::phLeave;
                const std::int32_t timer = f.Timer;
                const std::int16_t fx = f.XPos(), fy = f.YPos();
                const bool inside = fx > 20 && fx < 620 && fy > 40 && fy < 200;
                const bool due = leaving && (stage == 1 ? timer % 8 == 0 : timer % 16 == 0 && inside);
                const Fired fired = TickAndWatchFire();
                ASSERT_EQ(fired.count, due ? 1 : 0) << "stage " << stage << " timer " << timer << " at " << fx << "," << fy;
                if (due) {
                    EXPECT_EQ(fired.kind, stage == 1 ? Bullet::Falling : Bullet::Aimed);
                    ++shots;
                }
            }
            UnitList.RemoveCharacter(f);
        }
        EXPECT_GE(shots, stage == 1 ? 20 : 4) << "stage " << stage;
    }
}

TEST_F(EnemyTest, HomingMineReachingTheShipBurstsIntoSixBulletsWithoutScore) {
    GroupCount[2] = 1;
    TEnemy& m = Spawn(EnemyKind::HomingMine, 330, 120, 0, 2);
    ASSERT_TRUE(TickUntil([&] { return m.State == TPhase::phDown; }, 300));
    // Where it burst: before its own move of this tick.
    const std::uint8_t dir = m.Direction();
    const std::int32_t x = WholePart(m.X - WrapMul(Cos(dir), m.Speed) - m.Work1);
    const std::int32_t y = WholePart(m.Y - WrapMul(Sin(dir), m.Speed) - m.Work2);
    EXPECT_LT((MyShip.XPos() - x) * (MyShip.XPos() - x) + (MyShip.YPos() - y) * (MyShip.YPos() - y), 128 * 128);
    EXPECT_EQ(CountBullets(Bullet::Ring), 6);
    std::vector<int> directions;
    for (const TEnemyShot& b : EnemyShots) {
        if (b.Index <= 0) continue;
        directions.push_back(b.Direction());
        // Started about 8 pixels out on the ring and moved once along it.
        const std::int32_t dx = b.XPos() - x, dy = b.YPos() - y;
        EXPECT_GE(dx * dx + dy * dy, 10 * 10);
        EXPECT_LE(dx * dx + dy * dy, 15 * 15);
    }
    EXPECT_EQ(directions, (std::vector<int>{0, 43, 86, 129, 172, 215}));
    Tick();
    EXPECT_LT(m.Index, 0);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(KilledCount, 0);
    EXPECT_EQ(GroupCount[2], 1);
}

// Each mine leaves from where the drawing showed it, the outermost right one first.
TEST_F(EnemyTest, MineLayerReleasesEachMineFromItsPlace) {
    TEnemy& layer = Spawn(EnemyKind::MineLayer, 320, -100);  // its mines start far from the ship
    for (std::int32_t k = 4; k >= 1; --k) {
        ASSERT_TRUE(TickUntil([&] { return layer.Work4 < k; }, 200)) << k;
        // The mine was started during the step, before the layer's own move this tick.
        const TEnemy* mine = nullptr;
        for (const TEnemy& e : Enemies)
            if (e.Index > 0 && e.SubType == EnemyKind::HomingMine && e.Timer == 209) mine = &e;
        ASSERT_NE(mine, nullptr) << k;
        const std::int32_t layerX = WholePart(layer.X - WrapMul(Cos(layer.Direction()), layer.Speed));
        EXPECT_NEAR(mine->XPos(), layerX + SpareMineX(k), 1) << k;
        EXPECT_LT(mine->YPos(), layer.YPos());
    }
}

TEST_F(EnemyTest, OnlyAnEnteringObjectMayWaitAboveTheTop) {
    TEnemy& waiting = Spawn(EnemyKind::BackgroundDrifter, 300, 0);
    waiting.Speed = 0;
    UnitList.MoveCharacter(waiting, 0, (-121 + 120) * 65536, 0);  // spawned at -120
    Tick();
    EXPECT_GT(waiting.Index, 0);
    waiting.State = TPhase::phLeave;
    Tick();
    EXPECT_LT(waiting.Index, 0);
    // The sides and the bottom hold for every state.
    TEnemy& low = Spawn(EnemyKind::GunPod, 300, 601);
    TEnemy& wide = Spawn(EnemyKind::GunPod, 761, 100);
    Tick();
    EXPECT_LT(low.Index, 0);
    EXPECT_LT(wide.Index, 0);
}

}  // namespace
}  // namespace tz::testing
