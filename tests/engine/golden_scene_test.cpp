// A scene drawn with every draw mode and rotation path, compared pixel for pixel with a
// checked-in picture. Set KORRINDAL_UPDATE_GOLDEN=1 to write the picture again (and a
// magnified PNG beside it in the temporary folder for review).

#include <cstdlib>

#include "bank_fixture.h"
#include "engine/draw_modes.h"
#include "engine/pen.h"
#include "engine/sprite_rec.h"
#include "platform/image_file.h"

namespace {

using banktest::BankTest;
using banktest::pattern;
using banktest::PatternFields;

constexpr int kSceneW = 192, kSceneH = 128;

// The bank: an arrow (pre-rotated, 8 frames), a striped bar (rotated live) and a ring.
void paintBank(engine::bmp8::Image& img) {
    // Arrow 16x16 at (0, 1): a shaft pointing right with a head, two colours.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool shaft = y >= 6 && y < 10 && x < 10;
            const bool head = x >= 9 && std::abs(y - 8) <= 15 - x;
            if (shaft) img.at(x, 1 + y) = 40;
            if (head) img.at(x, 1 + y) = static_cast<std::uint8_t>(x >= 13 ? 200 : 120);
        }
    // Bar 24x12 at (16, 1): vertical stripes with a notch.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 24; ++x)
            if (!(x >= 18 && y < 4)) img.at(16 + x, 1 + y) = static_cast<std::uint8_t>(60 + (x / 3) * 20);
    // Ring 16x16 at (40, 1).
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int d2 = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
            if (d2 <= 225 && d2 >= 81) img.at(40 + x, 1 + y) = static_cast<std::uint8_t>(150 + y * 4);
        }
}

TEST_F(BankTest, GoldenSceneInEveryModeAndRotation) {
    std::vector<PatternFields> pats = {pattern(0, 1, 16, 17, 8, 8), pattern(16, 1, 40, 13, 12, 6),
                                       pattern(40, 1, 56, 17, 8, 8)};
    pats[0].rotLast = 7;
    engine::bmp8::Image img(640, 20);
    img.palette = banktest::testPalette();
    paintBank(img);
    writeBank("golden", pats, img, true);
    sprite->Banks()[0] = "golden";
    start();
    sprite->RealizeBank(0);
    ASSERT_TRUE(sprite->LastFailure().empty()) << sprite->LastFailure();
    sprite->MakeAddTable("Golden", 80, 100);

    engine::Surface& bb = *sprite->BackBuffer();
    engine::fillRect(bb, engine::TRect{0, 0, 640, 480}, 0);
    for (int y = 0; y < kSceneH; ++y)
        sprite->FillSurface(&bb, engine::TRect{0, y, kSceneW, y + 1}, 20 + (y / 8) * 6);
    engine::TPen pen(*sprite, engine::TDrawMode::Plain, {0, 0}, {4, 4, kSceneW - 4, kSceneH - 4});
    // Row 1: the ring in every mode, then half outside the left and the top edges.
    int column = 0;
    for (const auto mode : {engine::TDrawMode::Plain, engine::TDrawMode::Flash, engine::TDrawMode::Add, engine::TDrawMode::Mix2}) {
        pen.SetMode(mode);
        sprite->DrawPattern(static_cast<std::int16_t>(20 + column++ * 24), 16, 2);
    }
    pen.SetMode(engine::TDrawMode::Plain);
    sprite->DrawPattern(4, 30, 2);
    {
        engine::TPen moved(*sprite);
        moved.SetOffset(100, 0);
        sprite->DrawPattern(20, 4, 2);   // at x 120: the offset is added
    }
    EXPECT_EQ(sprite->DrawOffset(), (engine::TPoint{0, 0}));   // the inner pen put it back
    // Row 2: the arrow through its sheet frames (16 -> frame 0, 17 -> frame 1, 240 -> frame 0).
    const std::uint8_t arrowAngles[] = {0, 16, 17, 32, 64, 100, 128, 200, 240};
    engine::TSpriteRec s;
    s.pattern = 0;
    for (int i = 0; i < 9; ++i) {
        s.rotation = arrowAngles[i];
        s.setPos(16 + i * 20, 52);
        sprite->DrawSprite(s);
    }
    // Row 3: the bar rotated live, the last one across the right clip edge.
    const std::uint8_t barAngles[] = {0, 20, 64, 150, 224};
    s.pattern = 1;
    for (int i = 0; i < 5; ++i) {
        s.rotation = barAngles[i];
        s.setPos(i < 4 ? 20 + i * 36 : 184, 84);
        sprite->DrawSprite(s);
    }
    // Row 4: flash and add modes across the bottom edge.
    pen.SetMode(engine::TDrawMode::Flash);
    sprite->DrawPattern(40, 120, 1);
    pen.SetMode(engine::TDrawMode::Add);
    sprite->DrawPattern(100, 121, 0);
    pen.SetMode(engine::TDrawMode::Plain);
    sprite->DrawPattern(150, 118, 1);

    engine::bmp8::Image got(kSceneW, kSceneH);
    got.palette = sprite->StoredPalette();
    for (int y = 0; y < kSceneH; ++y)
        for (int x = 0; x < kSceneW; ++x) got.at(x, y) = bb.row(y)[x];
    // Outside the scene nothing was drawn.
    for (int y = 0; y < 480; ++y)
        for (int x = (y < kSceneH ? kSceneW : 0); x < 640; ++x) ASSERT_EQ(bb.row(y)[x], 0) << x << "," << y;

    // The checked-in picture lives in this test folder's data/ (a path fixed at configure time,
    // so the test runs from any working folder).
    const std::string golden = (banktest::fs::path(KORRINDAL_TEST_DATA_DIR) / "golden_scene.bmp").string();
    if (const char* up = std::getenv("KORRINDAL_UPDATE_GOLDEN"); up != nullptr && std::string(up) == "1") {
        ASSERT_TRUE(engine::bmp8::write(golden, got));
        constexpr int kZoom = 4;
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kSceneW * kZoom * kSceneH * kZoom * 4));
        for (int y = 0; y < kSceneH * kZoom; ++y)
            for (int x = 0; x < kSceneW * kZoom; ++x) {
                const plat::Rgb c = got.palette[got.at(x / kZoom, y / kZoom)];
                std::uint8_t* p = &rgba[static_cast<std::size_t>((y * kSceneW * kZoom + x) * 4)];
                p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
            }
        plat::writePng((banktest::fs::temp_directory_path() / "golden_scene.png").string(), rgba.data(), kSceneW * kZoom, kSceneH * kZoom);
    }
    const auto expected = engine::bmp8::read(golden);
    ASSERT_TRUE(expected.has_value()) << "missing " << golden;
    ASSERT_EQ(expected->width, kSceneW);
    ASSERT_EQ(expected->height, kSceneH);
    int differ = 0;
    for (int y = 0; y < kSceneH; ++y)
        for (int x = 0; x < kSceneW; ++x) differ += expected->at(x, y) != got.at(x, y);
    EXPECT_EQ(differ, 0) << "pixels differ from " << golden;
}

}  // namespace
