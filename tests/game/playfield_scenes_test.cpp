// Play-field frames made headless on the game's banks: each weapon firing into a crowd, a
// bonus pick-up, the ship's destruction, a bomb and the stage-clear tally. Each scene checks
// what the play did; three frames are compared pixel for pixel with checked-in pictures.
//
// KORRINDAL_SHOT_DIR=<dir> writes every scene's last frame there as <name>.png to look at;
// KORRINDAL_UPDATE_GOLDEN=1 writes the checked-in pictures again.
#include <cstdlib>
#include <string>

#include "platform/image_file.h"
#include "play_fixture.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace tz::test {
namespace {

const std::string GoldenDir = KORRINDAL_TEST_DATA_DIR;

class PlayFieldScenes : public PlayTest {
protected:
    std::vector<TEnemy*> crowd;

    void SetUp() override {
        PlayTest::SetUp();
        if (IsSkipped()) return;
        StartDrawing();
        DrawRandom.seed = 20261208;
        RefreshCount = 0;
    }

    // Three rows of the game's craft above the ship, tough enough to outlast the scene.
    void PlaceCrowd() {
        const std::array<std::pair<std::uint8_t, std::int16_t>, 6> kinds{{{EnemyKind::SwoopingFighter, 128},
                                                                           {EnemyKind::GunPod, 132},
                                                                           {EnemyKind::Diver, 138},
                                                                           {EnemyKind::FastDiver, 233},
                                                                           {EnemyKind::MineLayer, 230},
                                                                           {EnemyKind::HomingMine, 231}}};
        for (int i = 0; i < 12; ++i) {
            const auto [kind, pattern] = kinds[static_cast<std::size_t>(i % 6)];
            const auto x = static_cast<std::int16_t>(180 + 56 * (i % 6) + 20 * (i / 6 % 2));
            const auto y = static_cast<std::int16_t>(90 + 80 * (i / 6));
            TEnemy& e = Place(kind, x, y, pattern, 40, 500);
            if (kind == EnemyKind::MineLayer) e.Work4 = 3;
            crowd.push_back(&e);
        }
        crowd.push_back(&Place(EnemyKind::HeavyDrifterM, 250, 250, 225, 100, 500));
    }
    // Enemy bullets of every picture, scattered over the field and the crowd.
    static void PlaceBullets() {
        const std::array<std::pair<std::uint8_t, std::int16_t>, 8> kinds{
            {{Bullet::Falling, 124}, {Bullet::Aimed, 124}, {Bullet::AimedSlowing, 127}, {Bullet::Spinning, 126},
             {Bullet::Turning, 126}, {Bullet::Ring, 127}, {Bullet::Curving, 115}, {Bullet::SideSpark, 237}}};
        for (int i = 0; i < 24; ++i) {
            TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i)];
            const auto [kind, pattern] = kinds[static_cast<std::size_t>(i % 8)];
            b.Index = 1;
            b.CharType = TCharType::ctEnemyShot;
            b.BulletKind = kind;
            b.Pattern = pattern;
            b.Rotation = static_cast<std::uint8_t>(40 + 23 * i);
            b.SetXPos(static_cast<std::int16_t>(150 + (i * 53) % 340));
            b.SetYPos(static_cast<std::int16_t>(60 + (i * 37) % 250));
        }
    }
    int CrowdDamage() const {
        int d = 0;
        for (const TEnemy* e : crowd) d += 500 - e->Life;
        return d;
    }
    // One tick of the ship, its shots and the effects among enemies standing still (their own
    // behaviour and the bullets' flight take no part), then one frame.
    void Run(int ticks) {
        for (int t = 0; t < ticks; ++t) {
            for (TEnemy* e : crowd)
                if (e->Index > 0) Sweep(*e);
            if (MyShip.QuakeTimer > 0) {
                // The bomb's quake cancels bullets; here they are freed at once.
                for (TEnemyShot& b : EnemyShots)
                    if (b.BulletKind == Bullet::Cancelled) b.Index = -1;
            }
            StepInput();
            StepShip();
            MoveMyShots();
            MoveEffects();
            SceneTimer += 1;
            RefreshCount += 1;
            DrawPlayField();
        }
    }

    static void WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba) {
        ASSERT_TRUE(plat::writePng(path, rgba.data(), 640, 480)) << path;
    }
    // Writes the frame for the eye when asked; compares it with its checked-in picture when golden.
    void Finish(const std::string& name, bool golden) {
        // The frame as shown, through the palette, as RGBA bytes.
        std::vector<std::uint8_t> frame;
        int width = 0, height = 0;
        ASSERT_TRUE(form->Sprite.BackBufferRgba(frame, width, height));
        ASSERT_EQ(width, 640);
        ASSERT_EQ(height, 480);
        if (const char* dir = std::getenv("KORRINDAL_SHOT_DIR")) WritePng(std::string(dir) + "/" + name + ".png", frame);
        if (!golden) return;
        const std::string path = GoldenDir + "/playfield_" + name + ".png";
        if (const char* up = std::getenv("KORRINDAL_UPDATE_GOLDEN"); up != nullptr && std::string(up) == "1") {
            WritePng(path, frame);
            return;
        }
        int w = 0, h = 0, n = 0;
        stbi_uc* data = stbi_load(path.c_str(), &w, &h, &n, 4);
        ASSERT_NE(data, nullptr) << "no golden picture " << path;
        const std::vector<std::uint8_t> expected(data, data + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
        stbi_image_free(data);
        ASSERT_EQ(w, 640);
        ASSERT_EQ(h, 480);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < frame.size(); i += 4)
            differing += frame[i] != expected[i] || frame[i + 1] != expected[i + 1] || frame[i + 2] != expected[i + 2];
        EXPECT_EQ(differing, 0u) << name << ": pixels differ from " << path
                                 << " (KORRINDAL_SHOT_DIR shows the frame; KORRINDAL_UPDATE_GOLDEN=1 rewrites it)";
    }
    // Fire pressed and released in turns of on and off ticks.
    void Pulse(int on, int off, int ticks) {
        for (int t = 0; t < ticks; ++t) Feed((t % (on + off)) < on ? KeyFire : 0, 1);
    }
};

TEST_F(PlayFieldScenes, ValcanIntoACrowd) {
    PlaceCrowd();
    PlaceBullets();
    // Items among the bullets: they must never be mistaken for each other.
    Spawn(EnemyKind::WeaponItem, 420, 300, 2)->Rotation = 30;
    Spawn(EnemyKind::WeaponItem, 470, 250, 1)->Rotation = 90;
    Spawn(EnemyKind::BonusItem, 200, 360, 700);
    Score = 123450;
    Feed(KeyFire | KeyLeft, 20);
    Feed(KeyFire | KeyRight, 28);
    Run(48);
    EXPECT_GT(CrowdDamage(), 5);
    EXPECT_GT(ActiveEffects(Effect::HitSpark), 3);
    Finish("valcan", true);
}

// The other four weapons, each with its own trigger rhythm: fire pressed for on ticks, then
// released for off ticks.
struct TWeaponScene {
    const char* Name;
    std::uint8_t Weapon;
    int On, Off, Ticks;
};
void PrintTo(const TWeaponScene& w, std::ostream* os) { *os << w.Name; }

class WeaponScenes : public PlayFieldScenes, public ::testing::WithParamInterface<TWeaponScene> {};

TEST_P(WeaponScenes, IntoACrowd) {
    const TWeaponScene& w = GetParam();
    MyShip.Weapon = w.Weapon;
    PlaceCrowd();
    Pulse(w.On, w.Off, w.Ticks);
    Run(w.Ticks);
    EXPECT_GT(CrowdDamage(), 3);
    Finish(w.Name, false);
}

INSTANTIATE_TEST_SUITE_P(Weapons, WeaponScenes,
                         ::testing::Values(TWeaponScene{"canon", 1, 1, 11, 70}, TWeaponScene{"thunder", 2, 8, 8, 60},
                                           TWeaponScene{"beam", 3, 6, 6, 50}, TWeaponScene{"laser", 4, 80, 0, 80}),
                         [](const ::testing::TestParamInfo<TWeaponScene>& info) { return std::string(info.param.Name); });

TEST_F(PlayFieldScenes, BonusLabelAfterAPickUp) {
    BonusRate = 2;
    TEnemy* item = Spawn(EnemyKind::BonusItem, MyShip.XPos(), 330, 2500);
    ASSERT_NE(item, nullptr);
    // The item falls onto the ship through its own step and sweep.
    for (int t = 0; t < 100 && item->Index > 0; ++t) {
        MoveEnemies();
        Run(1);
    }
    EXPECT_EQ(item->Index, -1);
    EXPECT_EQ(Score, 2500 * 3);
    EXPECT_EQ(BonusRate, 3);
    Run(12);
    Finish("bonus", false);
}

TEST_F(PlayFieldScenes, TheShipDestroyed) {
    PlaceCrowd();
    TEnemyShot& b = EnemyShots[0];
    b.Index = 1;
    b.CharType = TCharType::ctEnemyShot;
    b.BulletKind = Bullet::Aimed;
    b.Pattern = 124;
    b.X = MyShip.X;
    b.Y = MyShip.Y;
    std::uint8_t flags = 0;
    CheckHit(b, MyShip, flags);
    ASSERT_EQ(DeadTimer, 1);
    Run(18);
    EXPECT_EQ(MyShip.Index, -1);
    Finish("destroyed", false);
}

TEST_F(PlayFieldScenes, ABombCancelsTheBullets) {
    PlaceCrowd();
    PlaceBullets();
    Feed(KeyBomb, 1);
    Run(1);
    EXPECT_EQ(MyShip.Bombs, 4);
    EXPECT_EQ(Score, 24 * 100);
    EXPECT_EQ(crowd[0]->Life, 496);
    Run(10);  // an odd frame of the quake: jitter and lightning
    ASSERT_EQ(RefreshCount % 2, 1);
    Finish("bomb", true);
}

TEST_F(PlayFieldScenes, TheStageClearTally) {
    SceneState = Scene::StageClear;
    SceneTimer = 150;
    TallyX.fill(220);
    TallyValue = {654320, 20000, 8000, 87650};
    Score = 9876543;
    TimeLeft = 9000;
    Run(1);
    Finish("tally", true);
}

}  // namespace
}  // namespace tz::test
