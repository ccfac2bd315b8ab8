// Loads the generated banks the way the game does, through the engine and the platform's
// picture loader, and draws every pattern.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/fake_platform.h"
#include "engine/sprite_ex.h"
#include "engine/sprite_rec.h"
#include "core/bank_list.h"
#include "core/data_path.h"
#include "platform/bitmap_loader.h"

namespace {

struct GeneratedBanks : ::testing::Test {
    testplat::FakePlatform platform;
    std::unique_ptr<engine::TSpriteEx> sprite = std::make_unique<engine::TSpriteEx>(platform);

    void SetUp() override {
        tz::SetProgramDir(KORRINDAL_BIN_DIR);
        sprite->SetFullScreenMode(false);
        for (int i = 0; i < 9; ++i) sprite->Banks()[static_cast<std::size_t>(i)] = tz::BankFiles[static_cast<std::size_t>(i)].File;
        sprite->Loaded();
        sprite->Paint();
        ASSERT_EQ(sprite->SystemState(), engine::TSystemState::ssNormal) << sprite->LastFailure();
        sprite->SetPause(true);
    }
    void TearDown() override {
        sprite.reset();
        tz::SetProgramDir("");
    }

    // Every drawn pattern of a loaded bank puts pixels on a cleared back buffer, straight
    // and (for turned patterns) at a few angles.
    void drawEvery(int bank) {
        const auto& b = sprite->BankData()[static_cast<std::size_t>(bank)];
        ASSERT_NE(b.surface, nullptr) << bank;
        for (int n = b.first; n <= b.first + b.last; ++n) {
            const auto& p = sprite->Patterns()[static_cast<std::size_t>(n)];
            if (p.source.right - p.source.left <= 1) continue;  // spare number
            sprite->FillSurface(sprite->BackBuffer(), {0, 0, 640, 480}, 0);
            sprite->DrawPattern(320, 240, static_cast<std::int16_t>(n));
            EXPECT_GT(lit(), 0) << "pattern " << n;
            if (p.rotLast != 0) {
                EXPECT_NE(p.rotCache.surface, nullptr) << "pattern " << n << " has no rotation sheet";
                for (int a : {40, 128, 200}) {
                    sprite->FillSurface(sprite->BackBuffer(), {0, 0, 640, 480}, 0);
                    engine::TSpriteRec s;
                    s.setPos(320, 240);
                    s.pattern = static_cast<std::int16_t>(n);
                    s.rotation = static_cast<std::uint8_t>(a);
                    sprite->DrawSprite(s);
                    EXPECT_GT(lit(), 0) << "pattern " << n << " at " << a;
                }
            }
        }
    }

    int lit() const {
        const auto& s = *sprite->BackBuffer();
        int n = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) n += s.row(y)[x] != 0;
        return n;
    }
};

TEST_F(GeneratedBanks, LayoutMatchesTheGameAndEveryBankLoadsAndDraws) {
    const int firsts[] = {0, 85, 219, 223, 238, 244, 245, 249, 253, 273};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(sprite->BankData()[static_cast<std::size_t>(i)].first, firsts[i]) << i;
    // The game's own loading orders: title, a stage with its boss swaps, the ending.
    sprite->ReleaseBanks();
    sprite->RealizeBank(7);
    drawEvery(7);
    for (int stage = 1; stage <= 3; ++stage) {
        sprite->ReleaseBanks();
        sprite->RealizeBank(0);
        sprite->RealizeBank(1);
        sprite->RealizeBank(stage + 1);
        drawEvery(0);
        drawEvery(1);
        drawEvery(stage + 1);
    }
    sprite->ReleaseBank(4);
    sprite->RealizeBank(5);
    drawEvery(5);
    sprite->ReleaseBank(5);
    sprite->RealizeBank(6);
    drawEvery(6);
    sprite->ReleaseBanks();
    sprite->RealizeBank(0);
    sprite->RealizeBank(8);
    sprite->RealizeBank(1);
    drawEvery(8);
    EXPECT_EQ(sprite->LastFailure(), "");
}

TEST_F(GeneratedBanks, ShipAndBulletCirclesMeetOnlyNearTheCockpit) {
    sprite->RealizeBank(1);
    engine::TSpriteRec ship, bullet;
    ship.pattern = 85;
    ship.setPos(320, 400);
    bullet.pattern = 127;
    bullet.setPos(320, 395);
    EXPECT_TRUE(sprite->SpriteHit(ship, bullet));
    bullet.setPos(334, 408);  // on the wing tip: no hit
    EXPECT_FALSE(sprite->SpriteHit(ship, bullet));
    // A weapon item (the Valcan pods) is picked up when the ship flies over it.
    engine::TSpriteRec item;
    item.pattern = 95;
    item.setPos(330, 390);
    EXPECT_TRUE(sprite->SpriteHit(ship, item));
}

TEST(GeneratedPictures, ScreenPicturesLoadThroughThePlatformWithTheSharedPalette) {
    plat::Bitmap8 title, bg, sys;
    std::string error;
    ASSERT_TRUE(plat::loadBitmap8(std::string(KORRINDAL_BIN_DIR) + "/tz_TitleBack.bmp", title, error)) << error;
    ASSERT_TRUE(plat::loadBitmap8(std::string(KORRINDAL_BIN_DIR) + "/tz_BG.bmp", bg, error)) << error;
    ASSERT_TRUE(plat::loadBitmap8(std::string(KORRINDAL_BIN_DIR) + "/TZ_System.bmp", sys, error)) << error;
    EXPECT_EQ(title.width, 640);
    EXPECT_EQ(title.height, 480);
    EXPECT_EQ(bg.at(320, 240), 0);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(title.palette[static_cast<std::size_t>(i)].r, sys.palette[static_cast<std::size_t>(i)].r) << i;
        EXPECT_EQ(bg.palette[static_cast<std::size_t>(i)].b, sys.palette[static_cast<std::size_t>(i)].b) << i;
    }
}

}  // namespace
