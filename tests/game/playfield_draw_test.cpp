// The play field's drawing on the game's banks: score and time digits, the quake's offsets,
// flash and lightning, hit flashes, the caption reveal's bounds, and that a frame leaves the
// game state and the engine's pen as it found them and depends on no pen left behind.
#include "diagnostics/memcheck.h"
#include "engine/pen.h"
#include "game/state_hash.h"
#include "game/tz_lightning.h"
#include "play_fixture.h"

namespace tz::test {
namespace {

constexpr std::uint8_t Backdrop = 121;  // a green no sprite of the play field uses

class PlayFieldDrawTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        if (IsSkipped()) return;
        StartDrawing();
    }
    engine::TSpriteEx& S() { return form->Sprite; }
    void Clear(std::uint8_t colour = 0) { S().FillSurface(S().BackBuffer(), engine::TRect{0, 0, 640, 480}, colour); }
    std::vector<std::uint8_t> Frame() {
        const engine::Surface& s = *S().BackBuffer();
        std::vector<std::uint8_t> out;
        for (int y = 0; y < s.height; ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width);
        return out;
    }
    // Pixels of colour inside the play field.
    int CountInField(std::uint8_t colour) {
        const engine::Surface& s = *S().BackBuffer();
        int n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 128; x < 512; ++x) n += s.row(y)[x] == colour;
        return n;
    }
    // The frame of the given patterns drawn at (x, y) each.
    std::vector<std::uint8_t> Expected(std::initializer_list<std::array<int, 3>> patterns) {
        Clear();
        for (const auto& p : patterns)
            S().DrawPattern(static_cast<std::int16_t>(p[0]), static_cast<std::int16_t>(p[1]), static_cast<std::int16_t>(p[2]));
        return Frame();
    }
    // The offsets SetPlayFieldOffsets sets (on a pen of its own, put back at once).
    engine::TPoint Offsets() {
        engine::TPen pen(S());
        SetPlayFieldOffsets(pen);
        return pen.Offset();
    }
    template <class Draw>
    std::vector<std::uint8_t> Drawn(Draw draw) {
        Clear();
        draw();
        return Frame();
    }
};

TEST_F(PlayFieldDrawTest, ScoreDigitsSitInTheLastPlacesWithBlankLeadingZeros) {
    const auto zero = Drawn([] { DrawScore(100, 25, 0); });
    EXPECT_EQ(zero, Expected({{226, 25, 13}}));
    EXPECT_NE(zero, Expected({}));
    EXPECT_EQ(Drawn([] { DrawScore(100, 25, 123); }), Expected({{198, 25, 14}, {212, 25, 15}, {226, 25, 16}}));
    // Shown modulo 10^9: a zero in the middle is drawn once a digit has been.
    EXPECT_EQ(Drawn([] { DrawScore(100, 25, 1000000203); }), Expected({{198, 25, 15}, {212, 25, 13}, {226, 25, 16}}));
}

TEST_F(PlayFieldDrawTest, TimeAsMinutesSecondsAndHundredths) {
    // 4200 ticks: "01 00 00"; 69 ticks: "00 00 98" (the places 3 and 6 are spaces).
    EXPECT_EQ(Drawn([] { DrawTime(140, 25, 4200); }),
              Expected({{154, 25, 13}, {168, 25, 14}, {196, 25, 13}, {210, 25, 13}, {238, 25, 13}, {252, 25, 13}}));
    EXPECT_EQ(Drawn([] { DrawTime(140, 25, 69); }),
              Expected({{154, 25, 13}, {168, 25, 13}, {196, 25, 13}, {210, 25, 13}, {238, 25, 22}, {252, 25, 21}}));
}

TEST_F(PlayFieldDrawTest, TheQuakeJittersFlashesBlackAndThrowsLightningOnOddFrames) {
    MapPos.x = 100 << 16;  // camera offset 28
    MyShip.QuakeTimer = 70;
    const std::uint32_t seed = RandSeed;
    int minX = 99, maxX = -99, minY = 99, maxY = -99;
    for (int i = 0; i < 300; ++i) {
        RefreshCount = 2 * i + 1;
        Clear(Backdrop);
        const engine::TPoint o = Offsets();
        minX = std::min(minX, o.x - 28);
        maxX = std::max(maxX, o.x - 28);
        minY = std::min(minY, o.y);
        maxY = std::max(maxY, o.y);
        ASSERT_EQ(CountInField(Backdrop), 0) << i;  // 70 mod 10 = 0: filled black first
    }
    EXPECT_EQ(minX, -8);
    EXPECT_EQ(maxX, 8);
    EXPECT_EQ(minY, -8);
    EXPECT_EQ(maxY, 8);
    EXPECT_EQ(RandSeed, seed);  // the game's own generator is left alone

    MyShip.QuakeTimer = 73;
    RefreshCount = 1;
    Clear(Backdrop);
    Offsets();
    const int kept = CountInField(Backdrop);
    EXPECT_GT(kept, 384 * 480 * 9 / 10);  // no black flash, only the bolts drawn over it
    EXPECT_LT(kept, 384 * 480);

    RefreshCount = 2;  // even frames: the camera alone, nothing drawn
    Clear(Backdrop);
    EXPECT_EQ(Offsets(), (engine::TPoint{28, 0}));
    EXPECT_EQ(CountInField(Backdrop), 384 * 480);
}

// A generator that always turns the bolt the same way: it curls round for ever.
struct CurlingRandom {
    std::int32_t Random(std::int32_t n) { return n == 33 ? 32 : 0; }
    double Random() { return 0.0; }
};

TEST_F(PlayFieldDrawTest, ALightningBoltEndsAtTheScreenEdgeOrAfterItsLastPiece) {
    CurlingRandom curl;
    int drawn = 0;
    EXPECT_EQ(WalkLightning(320, 240, curl, [&](std::int32_t, std::int32_t, std::uint8_t, std::int16_t) { ++drawn; }),
              LightningMaxPieces);
    EXPECT_EQ(drawn, LightningMaxPieces);

    TRandom rnd{12345};
    std::int32_t lastX = 0, lastY = 0;
    const std::int32_t pieces = WalkLightning(320, 240, rnd, [&](std::int32_t x, std::int32_t y, std::uint8_t, std::int16_t p) {
        lastX = x;
        lastY = y;
        EXPECT_GE(p, 111);
        EXPECT_LE(p, 114);
    });
    EXPECT_LT(pieces, LightningMaxPieces);
    EXPECT_GE(pieces, 30);  // at least the 240 px to the nearest edge
    EXPECT_TRUE(lastX < 8 || lastX > 632 || lastY < 8 || lastY > 472);  // its last piece at an edge
}

TEST_F(PlayFieldDrawTest, EnemiesFlashEveryFourthFrameTheFinalBossEveryThirtySecond) {
    TEnemy& e = Place(EnemyKind::FastDiver, 320, 240, 233, 60);
    e.Flash = 5;
    RefreshCount = 1;
    const auto plain = Drawn([&] { DrawCharacter(e); });
    for (const auto& [kind, period] : {std::pair{EnemyKind::FastDiver, 4}, std::pair{EnemyKind::FinalBoss, 32}}) {
        e.SubType = kind;
        for (int r = 0; r < 64; ++r) {
            RefreshCount = r;
            const bool flashed = Drawn([&] { DrawCharacter(e); }) != plain;
            EXPECT_EQ(flashed, r % period == 0) << int(kind) << " frame " << r;
            EXPECT_EQ(S().DrawMode(), engine::TDrawMode::Plain);
        }
    }
    // A weapon item that carries no weapon is not drawn; drawing an item leaves it unturned.
    TEnemy& item = Place(EnemyKind::WeaponItem, 300, 200, 95, 40);
    item.Work3 = 7;
    item.Flash = 3;
    RefreshCount = 4;
    EXPECT_EQ(Drawn([&] { DrawCharacter(item); }), Expected({}));
    EXPECT_EQ(S().DrawMode(), engine::TDrawMode::Plain);
    item.Work3 = 0;
    item.Rotation = 40;
    EXPECT_NE(Drawn([&] { DrawCharacter(item); }), Expected({}));
    EXPECT_EQ(item.Rotation, 40);
}

TEST(CaptionRevealTest, KeepsToThePatternsColumnsAndTheScreenOnBothSides) {
    engine::TPatternRec p;
    p.source = engine::TRect{100, 10, 300, 40};  // 200 x 30 in its bank
    p.originX = 100;
    p.originY = 15;
    TCaptionReveal r;
    // Inside everything: the 2 * 20 + 1 middle columns, placed left of the hot spot.
    ASSERT_TRUE(CaptionReveal(p, 20, 320, 200, 640, 480, r));
    EXPECT_EQ(r.Source, (engine::TRect{180, 10, 221, 40}));
    EXPECT_EQ(r.X, 300);
    EXPECT_EQ(r.Y, 185);
    // A hot spot near the pattern's left edge: never the neighbour's columns.
    p.originX = 10;
    ASSERT_TRUE(CaptionReveal(p, 20, 320, 200, 640, 480, r));
    EXPECT_EQ(r.Source, (engine::TRect{100, 10, 131, 40}));
    EXPECT_EQ(r.X, 310);
    p.originX = 195;
    ASSERT_TRUE(CaptionReveal(p, 20, 320, 200, 640, 480, r));
    EXPECT_EQ(r.Source.right, 300);
    // A caption wider than the screen, centred on it: clipped left and right.
    p.source = engine::TRect{0, 0, 1000, 30};
    p.originX = 500;
    ASSERT_TRUE(CaptionReveal(p, 450, 320, 200, 640, 480, r));
    EXPECT_EQ(r.X, 0);
    EXPECT_EQ(r.Source, (engine::TRect{180, 0, 820, 30}));
    // Off the screen altogether: nothing.
    EXPECT_FALSE(CaptionReveal(p, 10, 700, 200, 640, 480, r));
    EXPECT_FALSE(CaptionReveal(p, 10, 320, -100, 640, 480, r));
}

TEST_F(PlayFieldDrawTest, AFrameLeavesTheGameStateAndThePenAsItFoundThemAndAllocatesNothing) {
    // Something of every kind the frame draws, mid-life.
    TEnemy& item = Place(EnemyKind::WeaponItem, 250, 150, 95, 40);
    item.Rotation = 12;
    Place(EnemyKind::Stage2Boss, 320, 120, 234, 100).Flash = 3;
    SpawnMyShot(3, MyShip, 0);
    for (std::uint8_t kind = 0; kind < Effect::Count; ++kind) {
        TCharacter at{};
        at.SetXPos(static_cast<std::int16_t>(150 + 15 * kind));
        at.SetYPos(static_cast<std::int16_t>(200 + 5 * kind));
        SpawnEffect(kind, at, kind == Effect::BonusLabel ? 2500 : kind >= Effect::CaptionFromBelow ? 253 : 10);
    }
    for (TEffect& e : Effects)
        if (e.Index > 0 && e.EffectKind == Effect::CaptionFromAbove) e.Step = 1, e.Value1 = 20;
    for (int i = 0; i < 20; ++i) {
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i)];
        b.Index = 1;
        b.BulletKind = static_cast<std::uint8_t>(i % 16);
        b.Pattern = static_cast<std::int16_t>(124 + i % 4);
        b.SetXPos(static_cast<std::int16_t>(150 + 17 * i));
        b.SetYPos(300);
    }
    MyShip.Invincible = 30;
    MyShip.QuakeTimer = 70;
    SceneState = Scene::StageClear;
    SceneTimer = 90;
    TallyX.fill(220);
    TallyValue = {123400, 20000, 4000, 56780};
    const std::uint64_t before = GameStateHash();
    const std::int32_t blocks = memcheck::BlockCount();
    const engine::TRect oddClip{0, 0, 200, 100};
    for (int r = 0; r < 8; ++r) {
        RefreshCount = r;
        const std::uint32_t seed = DrawRandom.seed;
        DrawPlayField();
        const std::vector<std::uint8_t> plain = Frame();
        EXPECT_EQ(GameStateHash(), before) << "frame " << r;
        // The same frame over an odd pen that earlier drawing left: the same pixels, and the
        // odd pen still in force afterwards.
        DrawRandom.seed = seed;
        const engine::TPen odd(S(), engine::TDrawMode::Add, {-37, 21}, oddClip);
        DrawPlayField();
        EXPECT_EQ(Frame(), plain) << "frame " << r;
        EXPECT_EQ(S().DrawMode(), engine::TDrawMode::Add);
        EXPECT_EQ(S().DrawOffset(), (engine::TPoint{-37, 21}));
        EXPECT_EQ(S().ClipRect(), oddClip);
    }
    EXPECT_EQ(memcheck::BlockCount(), blocks);  // nothing allocated while drawing
}

}  // namespace
}  // namespace tz::test
