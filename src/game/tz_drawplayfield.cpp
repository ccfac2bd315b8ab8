// One frame of the play field: background, stars, stage caption, the objects under the camera
// and quake offsets, effects and bullets, then the status over them.
#include <algorithm>
#include <cstring>

#include "engine/pen.h"
#include "game/tz_draw.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_lightning.h"
#include "game/tz_main.h"
#include "game/tz_map.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

constexpr engine::TRect WholeScreen{0, 0, 640, 480};
constexpr engine::TRect PlayFieldRect{128, 0, 512, 480};
constexpr std::uint8_t Black = 0;
constexpr std::uint8_t White = 255;

constexpr std::int16_t StageCaption = 50;
constexpr std::int16_t FirstDigit = 13;
constexpr std::int16_t ShipIcon = 214;
constexpr std::int16_t BombIcon = 215;

std::int16_t I16(std::int32_t v) { return static_cast<std::int16_t>(v); }

// The backdrop as it is, side panels included: a plain copy, neither clipped nor keyed.
void CopyBackdrop(engine::Surface& back, const engine::Surface& bg) {
    const int w = std::min(back.width, bg.width), h = std::min(back.height, bg.height);
    if (w <= 0) return;
    for (int y = 0; y < h; ++y) std::memcpy(back.row(y), bg.row(y), static_cast<std::size_t>(w));
}

std::int16_t StageName() {
    switch (StageNo) {
    case 1: return 222;
    case 2: return 223;
    default: return 238;
    }
}

void DrawStageCaption(engine::TSpriteEx& sprite) {
    if (SceneState != Scene::Play || SceneTimer <= 100 || SceneTimer >= 300) return;
    sprite.DrawPattern(320, 130, StageCaption);
    sprite.DrawPattern(376, 130, I16(FirstDigit + StageNo));
    if (SceneTimer > 200) sprite.DrawPattern(320, 240, StageName());
}

// After the final boss a white band opens from the middle until the play field is white.
void DrawWhiteOut(engine::TSpriteEx& sprite) {
    if (StageNo != 3 || (SceneState != Scene::StageClear && SceneState != Scene::StageFade)) return;
    const engine::TRect band = (SceneState == Scene::StageClear && SceneTimer < 120)
                                   ? engine::TRect{128, 240 - 2 * SceneTimer, 512, 240 + 2 * SceneTimer}
                                   : PlayFieldRect;
    sprite.FillSurface(sprite.BackBuffer(), band, White);
}

// Four digits with a sign between the second and third, in the tally's own digits.
void DrawTallyNumber(engine::TSpriteEx& sprite, std::int32_t y, std::int32_t v, std::int16_t sign) {
    constexpr std::int16_t TallyDigit = 72;
    sprite.DrawPattern(350, I16(y), I16(TallyDigit + v / 1000));
    sprite.DrawPattern(375, I16(y), I16(TallyDigit + (v / 100) % 10));
    sprite.DrawPattern(400, I16(y), sign);
    sprite.DrawPattern(425, I16(y), I16(TallyDigit + (v / 10) % 10));
    sprite.DrawPattern(450, I16(y), I16(TallyDigit + v % 10));
}

// The stage-clear tally: the heading, the row labels sliding in, and each row's value once
// its label has arrived.
void DrawTally(engine::TSpriteEx& sprite) {
    sprite.DrawPattern(320, 80, 67);
    for (std::int32_t i = 0; i < 4; ++i)
        sprite.DrawPattern(I16(TallyX[static_cast<std::size_t>(i)]), I16(160 + 60 * i), I16(68 + i));
    const std::int32_t rows = std::min<std::int32_t>(SceneTimer / 20, 3);
    for (std::int32_t i = 0; i <= rows; ++i) {
        if (TallyX[static_cast<std::size_t>(i)] < 220) continue;
        const std::int32_t y = 160 + 60 * i;
        switch (i) {
        case 0: DrawTallyNumber(sprite, y, TallyValue[0] / 100, 83); break;  // seconds.hundredths
        case 1:
            for (std::int32_t k = 1; k <= TallyValue[1] / 10000; ++k) sprite.DrawPattern(I16(470 - 30 * k), I16(y), ShipIcon);
            break;
        case 2:
            for (std::int32_t k = 1; k <= TallyValue[2] / 2000; ++k) sprite.DrawPattern(I16(465 - 25 * k), I16(y), BombIcon);
            break;
        default:
            DrawTallyNumber(sprite, y, TallyValue[3] / 10, 82);  // the destroyed ratio, in percent
            sprite.DrawPattern(475, I16(y), 84);
            break;
        }
    }
}

void DrawEndCaption(engine::TSpriteEx& sprite) {
    if (SceneState == Scene::StageFade) sprite.DrawPattern(320, 200, StageNo < 3 ? 64 : 65);
    if (SceneState == Scene::TimeOver) sprite.DrawPattern(320, 200, 66);
}

// The ships and bombs in stock, beside the play field: unshaken.
void DrawStock(engine::TSpriteEx& sprite) {
    engine::TPen pen(sprite, engine::TDrawMode::Plain, {0, 0}, WholeScreen);
    for (std::int32_t k = 1; k <= MyShip.Bombs; ++k) sprite.DrawPattern(I16(518 + 20 * k), 350, BombIcon);
    for (std::int32_t k = 1; k <= MyShip.Lives; ++k) sprite.DrawPattern(I16(132 - 30 * k), 350, ShipIcon);
}

}  // namespace

void SetPlayFieldOffsets(engine::TPen& pen) {
    engine::TSpriteEx& sprite = pen.Sprite();
    const std::int32_t camera = 128 - WholePart(MapPos.x);
    const std::int32_t q = MyShip.QuakeTimer;
    if (q == 0 || RefreshCount % 2 == 0) {
        pen.SetOffset(camera, 0);
        return;
    }
    const std::int32_t jitterY = DrawRandom.Random(q / 4) - q / 8;
    const std::int32_t jitterX = DrawRandom.Random(q / 4) - q / 8;
    pen.SetOffset(camera + jitterX, jitterY);
    if (q % 10 < 2) sprite.FillSurface(sprite.BackBuffer(), PlayFieldRect, Black);
    for (int bolt = 0; bolt < 2; ++bolt) {
        WalkLightning(MyShip.XPos(), MyShip.YPos(), DrawRandom,
                      [&sprite](std::int32_t x, std::int32_t y, std::uint8_t rotation, std::int16_t pattern) {
                          engine::TSpriteRec piece;
                          piece.setPos(x, y);
                          piece.rotation = rotation;
                          piece.pattern = pattern;
                          sprite.DrawSprite(piece);
                      });
    }
}

void DrawPlayField() {
    if (Form1 == nullptr || Form1->Sprite.BackBuffer() == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    // Everything but the stock is clipped to the play field; the caption stands still, the
    // objects, effects and bullets move with the camera and the quake.
    engine::TPen pen(sprite, engine::TDrawMode::Plain, {0, 0}, PlayFieldRect);
    if (BgSurface) CopyBackdrop(*sprite.BackBuffer(), *BgSurface);
    DrawStars();
    DrawStageCaption(sprite);
    SetPlayFieldOffsets(pen);
    const std::int32_t camX = WholePart(MapPos.x);
    UnitList.DrawArea(MyShip.Index, engine::TRect{camX, -500, camX + 384, 580});
    DrawWhiteOut(sprite);
    DrawEffects();
    DrawEnemyShots();
    pen.SetOffset(0, pen.Offset().y);  // the status shakes only vertically
    if (TimeLeft >= 0) {
        DrawScore(370, 25, Score);
        DrawTime(140, 25, TimeLeft);
    }
    if (SceneState == Scene::StageClear) DrawTally(sprite);
    DrawEndCaption(sprite);
    DrawStock(sprite);
}

}  // namespace tz
