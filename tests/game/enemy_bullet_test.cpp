// Enemy bullets: the slot search, the kinds' flight, generators and their sparks, the area
// bounds and the distance at which a bullet asks whether it hits the ship.
#include <cstdlib>
#include <vector>

#include "enemy_fixture.h"
#include "game/tz_enemy_common.h"

namespace tz::testing {
namespace {

class BulletTest : public EnemyTest {
public:
    // A still source at (X, Y) to fire from.
    static TCharacter At(std::int16_t X, std::int16_t Y) {
        TCharacter c;
        c.SetXPos(X);
        c.SetYPos(Y);
        return c;
    }
    static TEnemyShot& Fire(std::uint8_t Kind, std::int16_t X, std::int16_t Y, std::int32_t Param) {
        const std::int32_t slot = SpawnEnemyShot(Kind, At(X, Y), Param);
        EXPECT_GE(slot, 0);
        return EnemyShots[static_cast<std::size_t>(slot < 0 ? 0 : slot)];
    }
};

TEST_F(BulletTest, SlotsAreTakenInCircularOrderAndAFullTableDropsTheBullet) {
    EnemyShotNext = 254;
    EXPECT_EQ(SpawnEnemyShot(Bullet::Directed, At(300, 100), 64), 255);
    EXPECT_EQ(SpawnEnemyShot(Bullet::Directed, At(300, 100), 64), 0);
    EnemyShots[1].Index = 1;  // taken: the search passes it
    EXPECT_EQ(SpawnEnemyShot(Bullet::Directed, At(300, 100), 64), 2);
    for (TEnemyShot& b : EnemyShots) b.Index = 1;
    EXPECT_EQ(SpawnEnemyShot(Bullet::Directed, At(300, 100), 64), -1);
    EXPECT_EQ(EnemyShotNext, 2);  // round once and back where it was
}

// From -106 the beam curves by +5 a step for 20 ticks, then speeds up by 20 a tick until it
// reaches 400, brightening at the start and 20 ticks later.
TEST_F(BulletTest, CurvingBeamFromMinus106) {
    TEnemyShot& b = Fire(Bullet::Curving, 320, 200, -106);
    const std::uint8_t aim = GetDirection(0, 200);
    EXPECT_EQ(b.Direction(), static_cast<std::uint8_t>(aim - 106));
    EXPECT_EQ(b.BulletParam, 5);
    EXPECT_EQ(b.Speed, 128);
    std::vector<int> turns, speeds;
    for (int t = 0; t < 45; ++t) {
        const std::uint8_t before = b.Direction();
        Tick();
        ASSERT_GT(b.Index, 0) << t;
        turns.push_back(DirectionDiff(b.Direction(), before));
        speeds.push_back(b.Speed);
    }
    for (int t = 0; t < 45; ++t) EXPECT_EQ(turns[static_cast<std::size_t>(t)], t >= 5 && t < 25 ? 5 : 0) << t;
    EXPECT_EQ(b.Direction(), static_cast<std::uint8_t>(aim - 106 + 100));
    for (int t = 0; t < 25; ++t) EXPECT_EQ(speeds[static_cast<std::size_t>(t)], 128) << t;
    for (int t = 25; t < 45; ++t) {
        const int previous = speeds[static_cast<std::size_t>(t - 1)];
        EXPECT_EQ(speeds[static_cast<std::size_t>(t)], previous < 400 ? previous + 20 : previous) << t;
    }
    EXPECT_GE(speeds.back(), 400);
    EXPECT_EQ(b.Pattern, 115 + 2);
}

// A generator fired with 0 goes straight down, sheds a spark every tick in a spread that
// widens as it ages, and ends after 40 ticks.
TEST_F(BulletTest, GeneratorFiredStraightDownEndsAfterItsTime) {
    TEnemyShot& g = Fire(Bullet::Generator, 300, 40, 0);
    EXPECT_EQ(g.Direction(), 64);
    EXPECT_EQ(g.Pattern, -1);
    const std::size_t slot = static_cast<std::size_t>(&g - EnemyShots.data());
    int sparks = 0, ticks = 0;
    int widest[3] = {0, 0, 0};  // by age: first 20 ticks, next 20, after its time
    while (EnemyShots[slot].Index > 0 && ticks < 100) {
        const std::int32_t next = EnemyShotNext;
        Tick();
        ++ticks;
        const std::int32_t t = 40 - ticks;  // the generator's Timer this tick
        for (std::int32_t k = next + 1; k <= EnemyShotNext; ++k) {
            const TEnemyShot& s = EnemyShots[static_cast<std::size_t>(k)];
            if (s.BulletKind != Bullet::GeneratorSpark) continue;
            ++sparks;
            const int spread = std::abs(DirectionDiff(s.Direction(), 64));
            int& w = widest[t > 19 ? 0 : t >= 0 ? 1 : 2];
            if (spread > w) w = spread;
        }
        if (ticks == 20) {
            EXPECT_EQ(g.Speed, 256);
        }
        if (ticks == 25) {
            EXPECT_EQ(g.Speed, 700);
        }
    }
    EXPECT_EQ(ticks, 41);   // freed on the tick its Timer went below 0
    EXPECT_EQ(sparks, 41);  // one every tick, that last one too
    EXPECT_LE(widest[0], 8);
    EXPECT_LE(widest[1], 12);
    EXPECT_LE(widest[2], 16);
    EXPECT_GT(widest[1], widest[0]);
}

// A generator fired with 1 is aimed at the ship and flies on until it leaves the area.
TEST_F(BulletTest, AimedGeneratorLivesUntilItLeavesTheArea) {
    TEnemyShot& g = Fire(Bullet::Generator, 200, 40, 1);
    EXPECT_EQ(g.Direction(), GetDirection(MyShip.XPos() - 200, MyShip.YPos() - 40));
    int ticks = 0;
    while (g.Index > 0 && ticks < 200) {
        Tick();
        ++ticks;
        if (g.Index > 0) {
            EXPECT_EQ(g.BulletKind, Bullet::Generator) << ticks;
        }
    }
    EXPECT_GT(ticks, 41);
    EXPECT_TRUE(g.YPos() > 500 || g.XPos() > 660 || g.XPos() < -20) << g.XPos() << "," << g.YPos();
}

TEST_F(BulletTest, OnlyBulletsCloserThan20PixelsAskWhetherTheyHit) {
    const std::int16_t sx = MyShip.XPos(), sy = MyShip.YPos();
    struct Case {
        int dx, dy;
        bool near;
    };
    for (const Case c : {Case{20, 0, false}, Case{12, 16, false}, Case{0, -19, true}, Case{14, 13, true},
                         Case{-19, -6, false}}) {  // 19.9 rounds to 20
        TEnemyShot b;
        b.SetXPos(static_cast<std::int16_t>(sx + c.dx));
        b.SetYPos(static_cast<std::int16_t>(sy + c.dy));
        EXPECT_EQ(BulletNearShip(b), c.near) << c.dx << "," << c.dy;
    }
}

TEST_F(BulletTest, BulletsLeavingTheAreaAreFreedAtOnce) {
    TEnemyShot& right = Fire(Bullet::Directed, 658, 200, 0);   // 4 px a tick to the right
    TEnemyShot& left = Fire(Bullet::Directed, -18, 200, 128);
    TEnemyShot& up = Fire(Bullet::Directed, 300, -18, 192);
    TEnemyShot& down = Fire(Bullet::Directed, 300, 498, 64);
    // An arm gun of a boss near the edge starts beyond it.
    TEnemyShot& arm = Fire(Bullet::SideSpark, 560, 100, 3);
    EXPECT_GT(arm.XPos(), 660);
    Tick();
    for (const TEnemyShot* b : {&right, &left, &up, &down, &arm}) EXPECT_EQ(b->Index, -1);
}

// The kinds that start away from their source: the side step of the pointed bullet and the
// boss's arm guns (the ring: the homing mine's burst).
TEST_F(BulletTest, StartOffsets) {
    const TEnemyShot& side = Fire(Bullet::AimedSlowing, 300, 100, 64);
    const std::uint8_t aim = GetDirection(MyShip.XPos() - 300, MyShip.YPos() - 100);
    EXPECT_EQ(side.Direction(), aim);
    EXPECT_EQ(side.XPos(), 300 + Cos(static_cast<std::uint8_t>(aim + 64)) / 256);
    EXPECT_EQ(side.YPos(), 100 + Sin(static_cast<std::uint8_t>(aim + 64)) / 256);

    struct Arm {
        int param, dx, dy, direction;
    };
    for (const Arm a : {Arm{1, 113, 138, 96}, Arm{-2, -138, 126, 48}, Arm{3, 143, 104, 56}}) {
        const TEnemyShot& b = Fire(Bullet::SideSpark, 320, 100, a.param);
        EXPECT_EQ(b.XPos(), 320 + a.dx) << a.param;
        EXPECT_EQ(b.YPos(), 100 + a.dy) << a.param;
        EXPECT_EQ(b.Direction(), a.direction) << a.param;
        EXPECT_EQ(b.Rotation, static_cast<std::uint8_t>(a.direction - 64)) << a.param;
    }
}

}  // namespace
}  // namespace tz::testing
