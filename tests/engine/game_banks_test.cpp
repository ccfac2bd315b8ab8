// The game's generated banks load through the engine: every Source inside its picture, all
// patterns within the table, every rotating pattern with its sheet.

#include "bank_fixture.h"
#include "core/bank_list.h"

namespace {

using banktest::BankTest;

// Makes the build's folder the program's folder; false when a bank of the game is missing.
bool UseGameBanks() {
    const banktest::fs::path bin = KORRINDAL_BIN_DIR;
    for (const tz::TBankFile& bank : tz::BankFiles)
        if (!banktest::fs::exists(bin / bank.File)) return false;
    tz::SetProgramDir(bin.string());
    return true;
}

TEST_F(BankTest, TheGamesNineBanksLoad) {
    if (!UseGameBanks()) GTEST_SKIP() << "the generated banks are not built";
    for (int i = 0; i < 9; ++i) sprite->Banks()[static_cast<std::size_t>(i)] = tz::BankFiles[static_cast<std::size_t>(i)].File;
    start();
    for (int i = 0; i < 9; ++i) {
        sprite->RealizeBank(i);
        ASSERT_TRUE(sprite->LastFailure().empty()) << tz::BankFiles[static_cast<std::size_t>(i)].File << ": " << sprite->LastFailure();
        const auto& b = sprite->BankData()[static_cast<std::size_t>(i)];
        ASSERT_NE(b.surface, nullptr);
        EXPECT_EQ(b.surface->row(0)[0], b.colorKey & 0xFF);
        for (int k = b.first; k <= b.first + b.last; ++k) {
            const auto& p = sprite->Patterns()[static_cast<std::size_t>(k)];
            EXPECT_EQ(p.bank, i);
            if (b.rotate != 0 && p.rotLast != 0 && p.width() > 0) {
                EXPECT_NE(p.rotCache.surface, nullptr) << tz::BankFiles[static_cast<std::size_t>(i)].File << " " << k;
            }
        }
    }
    const auto& last = sprite->BankData()[15];
    EXPECT_LE(last.first + last.last + 1, engine::kPatternCount);
    sprite->ReleaseBanks();
    EXPECT_EQ(sprite->SurfaceLast(), -1);
}

// At every screen size (scaled, as the game always draws), every pre-rotated frame of the game's banks lies in
// its rotation sheet (a sheet too short for its frames loses the lower ones).
TEST_F(BankTest, EveryRotationFrameOfTheGamesBanksLiesInItsSheetAtEveryScreenSize) {
    if (!UseGameBanks()) GTEST_SKIP() << "the generated banks are not built";
    for (const engine::TResolution res : {engine::TResolution::Res_320x240x8, engine::TResolution::Res_640x480x8,
                                          engine::TResolution::Res_800x600x8}) {
        sprite = std::make_unique<engine::TSpriteEx>(platform);
        sprite->SetFullScreenMode(false);
        sprite->SetResolution(res);
        for (int i = 0; i < 9; ++i) sprite->Banks()[static_cast<std::size_t>(i)] = tz::BankFiles[static_cast<std::size_t>(i)].File;
        sprite->Loaded();
        sprite->Paint();
        ASSERT_EQ(sprite->SystemState(), engine::TSystemState::ssNormal) << sprite->LastFailure();
        sprite->SetPause(true);
        int sheets = 0;
        for (int i = 0; i < 9; ++i) {
            sprite->RealizeBank(i);
            ASSERT_TRUE(sprite->LastFailure().empty()) << tz::BankFiles[static_cast<std::size_t>(i)].File << ": " << sprite->LastFailure();
            const auto& b = sprite->BankData()[static_cast<std::size_t>(i)];
            for (int k = b.first; k <= b.first + b.last; ++k) {
                const engine::TRotationCache& cache = sprite->Patterns()[static_cast<std::size_t>(k)].rotCache;
                if (cache.surface == nullptr) continue;
                ++sheets;
                for (const engine::TRotationFrame& f : cache.frames) {
                    EXPECT_LE(f.bounds.right, cache.surface->width) << tz::BankFiles[static_cast<std::size_t>(i)].File << " pattern " << k;
                    EXPECT_LE(f.bounds.bottom, cache.surface->height)
                        << tz::BankFiles[static_cast<std::size_t>(i)].File << " pattern " << k << " at " << sprite->ScreenWidth() << " wide";
                }
            }
        }
        EXPECT_GT(sheets, 0);
    }
}

}  // namespace
