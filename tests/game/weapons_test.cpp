// The five weapons' fire rules and the flight and strikes of their shots.
#include "play_fixture.h"

namespace tz::test {
namespace {

class WeaponsTest : public PlayTest {
protected:
    // Ticks (from 0) on which a new shot of kind left the ship, over n ticks.
    std::vector<int> FireTicks(TShotKind kind, int n) {
        std::vector<int> ticks;
        for (int t = 0; t < n; ++t) {
            const std::uint32_t before = MyShip.FireWait;
            Tick();
            const bool fired = MyShip.FireWait == FireWaitTable[static_cast<std::size_t>(kind)] &&
                               before != static_cast<std::uint32_t>(MyShip.FireWait);
            if (fired) ticks.push_back(t);
        }
        return ticks;
    }
};

TEST_F(WeaponsTest, ThunderFiresOnThePressAndOnTheRelease) {
    MyShip.Weapon = 2;
    Feed(KeyFire, 10);
    std::vector<int> sides;
    int shots = 0;
    for (int t = 0; t < 40; ++t) {
        Tick();
        for (const TMyShot& s : MyShots)
            if (s.Index > 0 && s.Timer == ShotLife[2] - 1) {
                ++shots;
                sides.push_back(s.XPos() > MyShip.XPos() ? 1 : -1);
            }
    }
    EXPECT_EQ(shots, 2);
    EXPECT_EQ(sides, (std::vector<int>{1, -1}));
}

TEST_F(WeaponsTest, BeamFiresTwoOnThePressAndTwoOnTheRelease) {
    MyShip.Weapon = 3;
    Feed(KeyFire, 10);
    EXPECT_EQ(FireTicks(TShotKind::Beam, 30), (std::vector<int>{0, 4, 10, 14}));
    EXPECT_EQ(Listed(TShotKind::Beam), 4);
}

TEST_F(WeaponsTest, FirstLaserShotDiesOnItsFirstMoveAndTheChargeBuilds) {
    MyShip.Weapon = 4;
    Feed(KeyFire, 12);
    Tick();
    EXPECT_EQ(Listed(TShotKind::Laser), 0);  // started with Timer 0 (no charge yet)
    EXPECT_EQ(MyShip.Charge, 2);
    std::vector<std::int32_t> starts;
    for (int t = 1; t < 12; ++t) {
        Tick();
        if (t % 3 == 0) starts.push_back(ShotOf(TShotKind::Laser)->Timer + 1);  // one move since
    }
    EXPECT_EQ(starts, (std::vector<std::int32_t>{2, 4, 6}));
    Tick();  // fire released
    EXPECT_EQ(MyShip.Charge, 0);
}

// A Canon shell on the ship, hitting the enemies given (at its position) once each.
class CanonTest : public PlayTest {
protected:
    TMyShot& Fire() {
        SpawnMyShot(1, MyShip, 0);
        return *ShotOf(TShotKind::Canon);
    }
    void Strike(TMyShot& shell, int enemies) {
        std::vector<TEnemy*> struck;
        for (int i = 0; i < enemies; ++i) {
            struck.push_back(&Place(EnemyKind::FastDiver, shell.XPos(), shell.YPos(), 109, 5));
            std::uint8_t flags = 0;
            CheckHit(shell, *struck.back(), flags);
            EXPECT_EQ(flags, cfStop);
        }
        for (TEnemy* e : struck) UnitList.RemoveCharacter(*e);  // out of the fragments' way
    }
    // Moves until the four fragments appear; the moves it took.
    int MovesToBurst(int limit) {
        for (int n = 1; n <= limit; ++n) {
            MoveMyShots();
            if (Listed(TShotKind::Fragment) > 0) return n;
        }
        return -1;
    }
};

TEST_F(CanonTest, TwoHitsBurstTheShellOnTheNextMove) {
    TMyShot& shell = Fire();
    Strike(shell, 2);
    EXPECT_EQ(MovesToBurst(1), 1);
    EXPECT_EQ(Listed(TShotKind::Canon), 0);
    std::vector<int> dirs;
    for (const TMyShot& s : MyShots)
        if (s.Index > 0 && s.ShotKind == 5) dirs.push_back(s.Direction());
    EXPECT_EQ(dirs, (std::vector<int>{32, 96, 160, 224}));
    EXPECT_EQ(Played(Sound::Canon), 1);
}

TEST_F(CanonTest, OneHitBurstsTenMovesLater) {
    TMyShot& shell = Fire();
    const std::int16_t speed = shell.Speed;
    Strike(shell, 1);
    EXPECT_EQ(shell.Speed, speed / 2);
    EXPECT_EQ(MovesToBurst(20), 10);
}

TEST_F(CanonTest, AShellThatHitsNothingBurstsAfterItsLife) {
    TMyShot& shell = Fire();
    // Low enough on the screen to stay inside the area for its whole flight.
    UnitList.MoveCharacter(shell, 0, 200 * 65536, 0);
    EXPECT_EQ(MovesToBurst(200), 100);
}

TEST_F(WeaponsTest, ThunderStrikesOneEnemyOnConsecutiveTicksOthersOnce) {
    TEnemy& big = Place(EnemyKind::HeavyDrifterS, 320, 300, 224, 70, 300);
    SpawnMyShot(2, MyShip, 0);
    std::vector<int> hitOn;
    for (int t = 0; t < 40 && Listed(TShotKind::Thunder) > 0; ++t) {
        const std::int16_t life = big.Life;
        Sweep(big);
        MoveMyShots();
        if (big.Life < life) hitOn.push_back(t);
    }
    EXPECT_EQ(big.Life, 300 - ShotPierce[2]);  // its whole pierce spent on the one enemy
    ASSERT_GE(hitOn.size(), 2u);
    EXPECT_EQ(hitOn.back() - hitOn.front(), static_cast<int>(hitOn.size()) - 1);  // tick after tick

    // A piercing Beam passing through the same enemy takes one pierce from it and flies on.
    MoveShipTo(320, 420);
    SpawnMyShot(3, MyShip, 0);
    TMyShot& beam = *ShotOf(TShotKind::Beam);
    beam.SetDirection(192);
    beam.Timer = 90;
    const std::int16_t life = big.Life;
    for (int t = 0; t < 30; ++t) {
        Sweep(big);
        MoveMyShots();
    }
    EXPECT_EQ(big.Life, life - 1);
    EXPECT_EQ(beam.Pierce, ShotPierce[3] - 1);
    EXPECT_GT(beam.Index, 0);
    EXPECT_EQ(beam.Pattern, 116 + 1);  // the struck beam, a frame further on
}

}  // namespace
}  // namespace tz::test
