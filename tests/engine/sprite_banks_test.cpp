// Sprite banks on a started engine: index layout, loading, the refused files, release cycles,
// the colour-mix cache.

#include <fstream>

#include "bank_fixture.h"
#include "diagnostics/memcheck.h"
#include "engine/add_table.h"
#include "engine/draw_modes.h"
#include "engine/pen.h"
#include "engine/sprite_ex_test_access.h"
#include "engine/sprite_rec.h"

namespace {

using banktest::BankTest;
using banktest::pattern;
using banktest::PatternFields;

PatternFields withCircle(PatternFields p, int r, int x, int y) {
    p.hitLast = 0;
    p.hits[0] = {static_cast<std::int16_t>(r), static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    return p;
}

TEST_F(BankTest, EmptyBankNameTakesOneIndexAndHitCirclesAreKnownBeforeLoading) {
    const std::vector<PatternFields> a = {pattern(0, 1, 16, 17), pattern(16, 1, 32, 17), pattern(32, 1, 48, 17)};
    const std::vector<PatternFields> b = {withCircle(pattern(0, 1, 8, 9), 5, 0, 0), withCircle(pattern(8, 1, 16, 9), 3, 2, 0)};
    writeBank("a", a, picture(640, 20, a));
    writeBank("b", b, picture(640, 20, b));
    sprite->Banks()[0] = "devdir/a.sp4";   // the folder only matters when the file is missing beside the program
    sprite->Banks()[1] = "";
    sprite->Banks()[2] = "b";
    sprite->Banks()[3] = "missing";
    start();
    const auto& banks = sprite->BankData();
    EXPECT_EQ(banks[0].first, 0);
    EXPECT_EQ(banks[1].first, 3);
    EXPECT_EQ(banks[2].first, 4);   // one higher than the sum of the earlier counts
    EXPECT_EQ(banks[3].first, 6);
    EXPECT_EQ(banks[4].first, 7);
    // Bank 2 was never realized, yet its circles are in the table.
    engine::TSpriteRec s1, s2;
    s1.pattern = 4;
    s2.pattern = 5;
    s1.setPos(100, 100);
    s2.setPos(104, 100);   // circle centres 6 apart, radii 5 + 3
    EXPECT_TRUE(sprite->SpriteHit(s1, s2));
    s2.setPos(110, 100);   // 12 apart
    EXPECT_FALSE(sprite->SpriteHit(s1, s2));
    s2.setPos(106, 100);   // centres 8 apart, radii 5 + 3: touching is no hit
    EXPECT_FALSE(sprite->SpriteHit(s1, s2));
}

TEST_F(BankTest, LoadingTwiceKeepsFirstAndReplacesPatternsAndSurface) {
    std::vector<PatternFields> pats = {pattern(0, 1, 16, 17, 8, 8), pattern(16, 1, 48, 17, 16, 8)};
    pats[1].rotLast = 7;
    writeBank("one", {pattern(0, 1, 4, 5)}, picture(640, 8, {pattern(0, 1, 4, 5)}));
    writeBank("rot", pats, picture(640, 20, pats), true);
    sprite->Banks()[0] = "one";
    sprite->Banks()[1] = "rot";
    start();
    sprite->RealizeBank(1);
    ASSERT_TRUE(sprite->LastFailure().empty()) << sprite->LastFailure();
    const int listAfterFirst = sprite->SurfaceLast();
    const engine::Surface* firstSurface = sprite->BankData()[1].surface.get();
    ASSERT_NE(firstSurface, nullptr);
    EXPECT_EQ(sprite->BankData()[1].first, 1);
    EXPECT_EQ(sprite->Patterns()[2].rotCache.frames.size(), 8u);
    engine::SpriteExTestAccess::Patterns(*sprite)[2].originX = 99;   // changed in memory: the second load replaces it
    sprite->RealizeBank(1);
    EXPECT_EQ(sprite->BankData()[1].first, 1);
    EXPECT_EQ(sprite->Patterns()[2].originX, 16);
    EXPECT_EQ(sprite->Patterns()[2].bank, 1);
    EXPECT_NE(sprite->BankData()[1].surface, nullptr);
    EXPECT_EQ(sprite->SurfaceLast(), listAfterFirst);   // the old sheet left the list
    EXPECT_EQ(sprite->Patterns()[1].rotCache.surface, nullptr);  // RotLast 0: no sheet
}

TEST_F(BankTest, A320WidePictureIsStretchedTo640AndDoubledInHeight) {
    // Source rectangles are given in screen pixels, the picture in half size.
    const std::vector<PatternFields> screen = {pattern(20, 2, 40, 22, 0, 0)};
    const std::vector<PatternFields> half = {pattern(10, 1, 20, 11)};
    writeBank("small", screen, picture(320, 30, half));
    sprite->Banks()[0] = "small";
    start();
    sprite->RealizeBank(0);
    ASSERT_TRUE(sprite->LastFailure().empty()) << sprite->LastFailure();
    const engine::Surface& s = *sprite->BankData()[0].surface;
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 60);
    EXPECT_EQ(s.row(2)[20], 10);
    EXPECT_EQ(s.row(21)[39], 10);
    EXPECT_EQ(s.row(22)[39], 0);
    EXPECT_EQ(s.row(21)[40], 0);
    engine::fillRect(*sprite->BackBuffer(), engine::TRect{0, 0, 640, 480}, 3);
    sprite->DrawPattern(100, 50, 0);
    EXPECT_EQ(sprite->BackBuffer()->row(50)[100], 10);
    EXPECT_EQ(sprite->BackBuffer()->row(69)[119], 10);
    EXPECT_EQ(sprite->BackBuffer()->row(70)[119], 3);
}

TEST_F(BankTest, MissingFileIsReportedWithTheNameLookedFor) {
    sprite->Banks()[4] = "C:/dev/art/TZ_Ghost.sp4";
    start();
    sprite->RealizeBank(4);
    EXPECT_EQ(sprite->LastFailure(), "RealizeBank.FileNotFound - C:/dev/art/TZ_Ghost.sp4");
    EXPECT_EQ(sprite->SystemState(), engine::TSystemState::ssTerminate);
}

TEST_F(BankTest, IndexOutOfRangeIsRefused) {
    start();
    sprite->RealizeBank(16);
    EXPECT_EQ(sprite->LastFailure(), "RealizeBank.OutOfRange");
}

TEST_F(BankTest, BanksBeyondThePatternTableAreRefusedNamingTheFile) {
    std::vector<PatternFields> many(600, pattern(0, 1, 4, 5));
    writeBank("big1", many, picture(640, 8, {}));
    writeBank("big2", std::vector<PatternFields>(500, pattern(0, 1, 4, 5)), picture(640, 8, {}));
    sprite->Banks()[0] = "big1";
    sprite->Banks()[1] = "big2";
    sprite->Loaded();
    EXPECT_NE(sprite->LastFailure().find("big2.sp4"), std::string::npos) << sprite->LastFailure();
    // Nothing beyond the table was touched: the last record is as created.
    EXPECT_EQ(sprite->Patterns()[1023].source.right, 0);
}

TEST_F(BankTest, BankFileGrownPastTheTableAfterStartIsRefusedOnLoad) {
    writeBank("grow", {pattern(0, 1, 4, 5)}, picture(640, 8, {}));
    sprite->Banks()[0] = "grow";
    start();
    writeBank("grow", std::vector<PatternFields>(1025, pattern(0, 1, 4, 5)), picture(640, 8, {}));
    sprite->RealizeBank(0);
    EXPECT_NE(sprite->LastFailure().find("grow.sp4"), std::string::npos) << sprite->LastFailure();
}

TEST_F(BankTest, NegativeCountOtherThanMinusOneIsRefusedNamingTheFile) {
    const std::vector<PatternFields> good = {pattern(0, 1, 4, 5)};
    writeBank("neg", good, picture(640, 8, good));
    ASSERT_TRUE(engine::sp4::writeFile(path("neg.sp4"), engine::sp4::Header{0, 0, -7}, {}));
    sprite->Banks()[0] = "neg";
    sprite->Loaded();
    EXPECT_NE(sprite->LastFailure().find("neg.sp4"), std::string::npos) << sprite->LastFailure();
}

TEST_F(BankTest, TruncatedFileIsRefusedOnLoadAndThePatternsStay) {
    const std::vector<PatternFields> good = {pattern(0, 1, 4, 5)};
    writeBank("ok", good, picture(640, 8, good));
    writeBank("trunc", {pattern(8, 1, 12, 5)}, picture(640, 8, good));
    sprite->Banks()[0] = "ok";
    sprite->Banks()[1] = "trunc";
    start();
    banktest::fs::resize_file(path("trunc.sp4"), banktest::fs::file_size(path("trunc.sp4")) - 1);
    const auto before = sprite->Patterns()[1].source;
    sprite->RealizeBank(1);
    EXPECT_NE(sprite->LastFailure().find("trunc.sp4"), std::string::npos) << sprite->LastFailure();
    EXPECT_EQ(sprite->Patterns()[1].source, before);
}

TEST_F(BankTest, SourceOutsideThePictureIsRefusedBeforeAnyRecordIsTaken) {
    const std::vector<PatternFields> bad = {pattern(0, 1, 4, 5), pattern(600, 1, 660, 5)};  // past the right edge
    writeBank("outside", bad, picture(640, 8, {}));
    sprite->Banks()[0] = "outside";
    start();
    engine::SpriteExTestAccess::Patterns(*sprite)[0].originX = 77;
    sprite->RealizeBank(0);
    EXPECT_NE(sprite->LastFailure().find("outside.sp4 pattern 1"), std::string::npos) << sprite->LastFailure();
    EXPECT_EQ(sprite->Patterns()[0].originX, 77);
}

TEST_F(BankTest, LoadingAndReleasingAThousandTimesNeverGrowsTheSurfaceList) {
    std::vector<PatternFields> pats = {pattern(0, 1, 16, 17, 8, 8), pattern(16, 1, 32, 17, 8, 8)};
    pats[0].rotLast = 3;
    pats[1].rotLast = 1;
    writeBank("spin", pats, picture(640, 20, pats), true);
    sprite->Banks()[0] = "spin";
    start();
    const int base = sprite->SurfaceLast();
    for (int i = 0; i < 1000; ++i) {
        sprite->RealizeBank(0);
        ASSERT_EQ(sprite->SurfaceLast(), base + 2) << "load " << i << " " << sprite->LastFailure();
        if (i % 2 == 0) sprite->ReleaseBanks();
        ASSERT_EQ(sprite->SurfaceLast(), i % 2 == 0 ? base : base + 2) << "release " << i;
    }
    sprite->ReleaseBank(0);
    EXPECT_EQ(sprite->SurfaceLast(), base);
    EXPECT_EQ(sprite->BankData()[0].surface, nullptr);
    EXPECT_FALSE(sprite->BankData()[0].bitmap.empty());   // the picture stays until the end
}

TEST_F(BankTest, BanksLoadedBetweenScenesGiveTheHeapBackWhenReleased) {
    // Wide patterns get opaque-run tables, rotating ones rotation sheets; a scene's banks are
    // loaded, swapped and released as the game does between its scenes.
    std::vector<PatternFields> wide = {pattern(0, 1, 200, 41), pattern(200, 1, 400, 31)};
    std::vector<PatternFields> spin = {pattern(0, 1, 16, 17, 8, 8)};
    spin[0].rotLast = 7;
    writeBank("wide", wide, picture(640, 48, wide));
    writeBank("spin", spin, picture(640, 20, spin), true);
    writeBank("title", {pattern(0, 1, 4, 5)}, picture(640, 8, {pattern(0, 1, 4, 5)}));
    sprite->Banks()[0] = "title";
    sprite->Banks()[1] = "wide";
    sprite->Banks()[2] = "spin";
    start();
    sprite->RealizeBank(0);
    const auto atTitle = memcheck::BlockCount();
    for (int game = 0; game < 3; ++game) {
        sprite->ReleaseBanks();
        sprite->RealizeBank(1);
        sprite->RealizeBank(2);
        ASSERT_FALSE(sprite->Patterns()[static_cast<std::size_t>(sprite->BankData()[1].first)].runs.empty());
        sprite->ReleaseBank(2);
        sprite->RealizeBank(2);
        sprite->ReleaseBanks();
        sprite->RealizeBank(0);
        ASSERT_EQ(sprite->LastFailure(), "");
        EXPECT_EQ(memcheck::BlockCount(), atTitle) << "after game " << game;
    }
    EXPECT_FALSE(sprite->BankData()[1].bitmap.empty());   // the pictures stay, in the room reserved at start
}

TEST_F(BankTest, AddTableCacheOfTheWrongSizeOrUnwritableFolderStillGivesTheTable) {
    start();
    plat::Palette pal = banktest::testPalette();
    sprite->SetPaletteFromBitmap(pal);
    engine::MixTable expect{};
    engine::computeAddTable(sprite->StoredPalette(), 80, 100, expect);
    // A cache of the wrong size is ignored; the table is computed and the cache rewritten.
    std::ofstream(path("Title.Add")) << "not a table";
    sprite->MakeAddTable("Title", 80, 100);
    EXPECT_TRUE(sprite->AddTable() == expect);
    EXPECT_EQ(banktest::fs::file_size(path("Title.Add")), 65536u);
    // A valid cache is used as it is, whatever the palette.
    engine::MixTable marked = expect;
    marked[12345] = static_cast<std::uint8_t>(marked[12345] + 1);
    ASSERT_TRUE(engine::writeAddTable(path("Title.Add"), marked));
    sprite->MakeAddTable("Title", 80, 100);
    EXPECT_EQ(sprite->AddTable()[12345], marked[12345]);
    // The cache cannot be written (a folder of that name is in the way): computed table in
    // use (not the marked one), the engine still running.
    banktest::fs::create_directories(dir / "Other.Add");
    sprite->MakeAddTable("Other", 80, 100);
    EXPECT_TRUE(sprite->AddTable() == expect);
    EXPECT_EQ(sprite->SystemState(), engine::TSystemState::ssNormal);
}

TEST_F(BankTest, LiveRotationIsClippedToTheClipRectangle) {
    const std::vector<PatternFields> pats = {pattern(0, 1, 32, 33, 16, 16)};
    writeBank("live", pats, picture(640, 40, pats));
    sprite->Banks()[0] = "live";
    start();
    sprite->RealizeBank(0);
    const engine::TPen pen(*sprite, engine::TDrawMode::Plain, {0, 0}, {128, 0, 512, 480});
    engine::fillRect(*sprite->BackBuffer(), engine::TRect{0, 0, 640, 480}, 3);
    engine::TSpriteRec s;
    s.pattern = 0;
    s.rotation = 32;
    s.setPos(130, 100);
    sprite->DrawSprite(s);
    int inside = 0;
    for (int y = 70; y < 130; ++y) {
        for (int x = 90; x < 128; ++x) ASSERT_EQ(sprite->BackBuffer()->row(y)[x], 3) << x << "," << y;
        for (int x = 128; x < 170; ++x) inside += sprite->BackBuffer()->row(y)[x] == 10;
    }
    EXPECT_GT(inside, 300);
}

TEST_F(BankTest, FadesClampTheLevelAndKeepTheStoredPalette) {
    start();
    sprite->SetPaletteFromBitmap(banktest::testPalette());
    const plat::Palette stored = sprite->StoredPalette();
    sprite->FadeToWhite(300);
    for (const auto& c : sprite->DisplayPalette()) EXPECT_EQ(c.r + c.g + c.b, 765);
    sprite->FadeToBlack(256);
    for (const auto& c : sprite->DisplayPalette()) EXPECT_EQ(c.r + c.g + c.b, 0);
    sprite->FadeToBlack(-5);
    EXPECT_EQ(sprite->DisplayPalette()[100].g, stored[100].g);
    EXPECT_EQ(sprite->StoredPalette()[100].g, stored[100].g);
    sprite->FadeToWhite(0);
    EXPECT_EQ(sprite->DisplayPalette()[37].b, stored[37].b);
}

TEST_F(BankTest, BitmapsIntoSurfacesAndTheCornerKey) {
    start();
    engine::SurfacePtr none;
    sprite->BltBmpToSurface(none, 0, 0, 640, 480, plat::Bitmap8{}, 0, 0);
    EXPECT_EQ(sprite->LastFailure(), "BltBmpToSurface.NotInit");
}

TEST_F(BankTest, LoadBmpToSurfaceReturnsTheHeightOrMinusOne) {
    engine::bmp8::Image img(640, 40);
    img.palette = banktest::testPalette();
    img.at(0, 0) = 7;
    img.at(1, 0) = 8;
    img.at(5, 39) = 9;
    ASSERT_TRUE(engine::bmp8::write(path("back.bmp"), img));
    start();
    engine::SurfacePtr s;
    sprite->AddSurface(s, 480, false, true);
    EXPECT_EQ(sprite->LoadBmpToSurface(s, "nothing"), -1);
    EXPECT_EQ(sprite->LoadBmpToSurface(s, "back"), 40);
    EXPECT_EQ(s->row(39)[5], 9);
    EXPECT_EQ(sprite->SetColorKeyFromCorner(s), 0x0807u);
    EXPECT_EQ(s->colorKey, 0x0807u);
    EXPECT_EQ(sprite->StoredPalette()[9].g, 255 - 9);
}

}  // namespace

namespace {

TEST_F(BankTest, FocusLossAndReturnReloadLoadedBanksWithTheirSheets) {
    std::vector<PatternFields> pats = {pattern(0, 1, 16, 17, 8, 8)};
    pats[0].rotLast = 3;
    writeBank("back", pats, picture(640, 20, pats), true);
    writeBank("unused", {pattern(0, 1, 4, 5)}, picture(640, 8, {}));
    sprite->Banks()[0] = "back";
    sprite->Banks()[1] = "unused";
    start();
    sprite->RealizeBank(0);
    const int listed = sprite->SurfaceLast();
    sprite->HookDeactivate();
    EXPECT_EQ(sprite->BankData()[0].surface, nullptr);
    sprite->HookActivate();
    ASSERT_EQ(sprite->SystemState(), engine::TSystemState::ssNormal) << sprite->LastFailure();
    ASSERT_NE(sprite->BankData()[0].surface, nullptr);
    EXPECT_EQ(sprite->BankData()[0].surface->row(1)[0], 10);
    EXPECT_EQ(sprite->BankData()[1].surface, nullptr);   // never loaded: stays unloaded
    EXPECT_EQ(sprite->SurfaceLast(), listed);
    ASSERT_NE(sprite->Patterns()[0].rotCache.surface, nullptr);
    EXPECT_EQ(sprite->Patterns()[0].rotCache.frames.size(), 4u);
}

}  // namespace

namespace {

TEST_F(BankTest, SurfaceListRefusesAnEntryBeyondItsEnd) {
    start();
    std::vector<engine::SurfacePtr> owners(engine::kSurfaceListSize + 1);
    for (int i = 0; i < engine::kSurfaceListSize; ++i) {
        sprite->AddSurface(owners[static_cast<std::size_t>(i)], 1, false, false);
        ASSERT_TRUE(sprite->LastFailure().empty()) << i << " " << sprite->LastFailure();
    }
    EXPECT_EQ(sprite->SurfaceLast(), engine::kSurfaceListSize - 1);
    sprite->AddSurface(owners.back(), 1, false, false);
    EXPECT_FALSE(sprite->LastFailure().empty());
    EXPECT_EQ(owners.back(), nullptr);
}

// At 320x240 a surface is half its listed height: one listed taller than the list's 16 bits
// would come back from focus loss at another height, so it is refused when it is made.
TEST_F(BankTest, SurfaceListRefusesAHeightItCannotRestore) {
    sprite->SetResolution(engine::TResolution::Res_320x240x8);
    start();
    engine::SurfacePtr fits, tooTall;
    sprite->AddSurface(fits, 65535, false, false);
    ASSERT_TRUE(sprite->LastFailure().empty()) << sprite->LastFailure();
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->height, 65535 / 2);
    const int listed = sprite->SurfaceLast();
    sprite->AddSurface(tooTall, 65536, false, false);
    EXPECT_EQ(sprite->LastFailure(), "RealizeSurface.CreateSueface");
    EXPECT_EQ(tooTall, nullptr);
    EXPECT_EQ(sprite->SurfaceLast(), listed);
}

}  // namespace
