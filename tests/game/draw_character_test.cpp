// The objects' draw procedure on the game's real banks, with the engine running on the null
// platform: what reaches the back buffer, and the draw mode left behind.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/tz_draw.h"
#include "support/play_setup.h"

using namespace tz;

namespace {

class DrawCharacterTest : public ::testing::Test {
protected:
    tz::test::TPlayWindow window;
    std::unique_ptr<TForm1>& form = window.form;

    void SetUp() override {
        if (!window.Open(KORRINDAL_BIN_DIR)) GTEST_SKIP() << "generated banks not built";
        ASSERT_TRUE(window.StartDrawing(false));
    }
    void TearDown() override { window.Close(); }

    void Clear() {
        form->Sprite.FillSurface(form->Sprite.BackBuffer(), engine::TRect{0, 0, 640, 480}, 0);
    }
    std::vector<std::uint8_t> Frame() const {
        const engine::Surface& s = *form->Sprite.BackBuffer();
        std::vector<std::uint8_t> out;
        for (int y = 0; y < s.height; ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width);
        return out;
    }
    static int Painted(const std::vector<std::uint8_t>& frame) {
        int n = 0;
        for (auto p : frame) n += p != 0;
        return n;
    }
    std::vector<std::uint8_t> Draw(TCharacter& c) {
        Clear();
        DrawCharacter(c);
        EXPECT_EQ(form->Sprite.DrawMode(), engine::TDrawMode::Plain);
        return Frame();
    }
};

}  // namespace

TEST_F(DrawCharacterTest, ShipWithWeaponPartsAndInvulnerableBlink) {
    TMyShip ship{};
    ship.CharType = TCharType::ctOwnShip;
    ship.SetXPos(320);
    ship.SetYPos(300);
    ship.Pattern = 85;
    ship.Weapon = 1;  // no parts over the ship, one under it
    const auto plain = Draw(ship);
    EXPECT_GT(Painted(plain), 100);
    ship.Weapon = 0;  // two parts over it
    EXPECT_NE(Draw(ship), plain);

    ship.Invincible = 10;
    RefreshCount = 8;
    const auto flashed = Draw(ship);
    RefreshCount = 9;
    const auto steady = Draw(ship);
    EXPECT_NE(flashed, steady);
    ship.Invincible = 0;
    RefreshCount = 8;
    EXPECT_EQ(Draw(ship), steady);

    ship.Pattern = -1;
    EXPECT_EQ(Painted(Draw(ship)), 0);
}

TEST_F(DrawCharacterTest, EnemyFlashAndAnItemWithoutAWeapon) {
    TEnemy e{};
    e.CharType = TCharType::ctEnemy;
    e.SetXPos(320);
    e.SetYPos(200);
    e.SubType = 2;
    e.Pattern = 85;  // any pattern of the loaded banks
    RefreshCount = 4;
    const auto body = Draw(e);
    EXPECT_GT(Painted(body), 100);
    e.Flash = 3;
    EXPECT_NE(Draw(e), body);
    RefreshCount = 5;
    EXPECT_EQ(Draw(e), body);
    // The final boss flashes only every 32nd frame.
    e.SubType = 25;
    RefreshCount = 4;
    EXPECT_EQ(Draw(e), body);

    e.SubType = 11;
    e.Work3 = 7;
    e.Flash = 0;
    EXPECT_EQ(Painted(Draw(e)), 0);
    e.Work3 = 4;
    EXPECT_EQ(Draw(e), body);
    // Enemy bullets and unknown types are not drawn through the list.
    e.CharType = TCharType::ctEnemyShot;
    EXPECT_EQ(Painted(Draw(e)), 0);
}
