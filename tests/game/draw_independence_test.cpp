// A game is a function of its input alone: the same ticks give the same state whether every
// frame is drawn or none is (drawing has its own generator and writes no game state).
#include "game/state_hash.h"
#include "game/tz_items.h"
#include "play_fixture.h"

namespace tz::test {
namespace {

class DrawIndependence : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        if (IsSkipped()) return;
        StartDrawing();
    }

    // A busy stage: a crowd to shoot, items falling onto the ship, bullets on it later.
    void BuildScene() {
        for (int i = 0; i < 10; ++i)
            Place(i % 2 ? EnemyKind::FastDiver : EnemyKind::HeavyDrifterS, static_cast<std::int16_t>(170 + 36 * i),
                  static_cast<std::int16_t>(80 + 20 * (i % 3)), i % 2 ? 233 : 224, 50, 60);
        Spawn(EnemyKind::WeaponItem, 320, 200, 2);
        Spawn(EnemyKind::WeaponItem, 330, 60, 3);
        Spawn(EnemyKind::BonusItem, 310, 20, 800);
        // Weave with fire in bursts; a bomb at tick 120 (its quake draws lightning).
        for (int t = 0; t < 600; ++t) {
            std::uint8_t keys = (t / 30) % 2 ? KeyLeft : KeyRight;
            if ((t / 20) % 4 != 3) keys |= KeyFire;
            if (t == 120) keys |= KeyBomb;
            Feed(keys, 1);
        }
    }
    static void Bullets(int n, std::int32_t x, std::int32_t y) {
        for (int i = 0; i < n; ++i) {
            TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i)];
            b.Index = 1;
            b.CharType = TCharType::ctEnemyShot;
            b.BulletKind = Bullet::Aimed;
            b.Pattern = 124;
            b.X = x + i * 65536;
            b.Y = y;
        }
    }
    // Per-tick state hashes of n ticks, each followed by a frame or not.
    std::vector<std::uint64_t> Play(int n, bool draw) {
        std::vector<std::uint64_t> hashes;
        for (int t = 0; t < n; ++t) {
            // Bullets for the bomb to cancel, then onto the ship once its shield is down.
            if (t == 100) Bullets(4, 200 << 16, 50 << 16);
            if (t == 300) {
                Bullets(4, MyShip.X, MyShip.Y);
                MyShip.Invincible = 0;
            }
            Tick();
            if (draw) {
                RefreshCount += 1;
                DrawPlayField();
            }
            hashes.push_back(GameStateHash());
        }
        return hashes;
    }
};

TEST_F(DrawIndependence, TheStateAfterEveryTickIsTheSameDrawnOrNot) {
    BuildScene();
    TGameState start;
    SaveGameState(start);
    DrawRandom.seed = 7;
    const auto drawn = Play(500, true);
    const std::int32_t weapons = MyShip.Weapon, dead = DeadTimer, score = Score;
    RestoreGameState(start);
    DrawRandom.seed = 99;  // drawing's numbers differ; the game's must not
    const auto quiet = Play(500, false);
    ASSERT_EQ(drawn.size(), quiet.size());
    for (std::size_t t = 0; t < drawn.size(); ++t) ASSERT_EQ(drawn[t], quiet[t]) << "first difference after tick " << t;
    // The scene did what it was built for.
    EXPECT_NE(weapons, 0);
    EXPECT_GT(dead, 0);
    EXPECT_GT(score, 0);
}

}  // namespace
}  // namespace tz::test
