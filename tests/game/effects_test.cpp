// Effects: their start values, motion and animation over their lives, and their children.
#include "play_fixture.h"

namespace tz::test {
namespace {

class EffectsTest : public PlayTest {
protected:
    TEffect& Start(std::uint8_t kind, std::int16_t x, std::int16_t y, std::int32_t param) {
        TCharacter at{};
        at.SetXPos(x);
        at.SetYPos(y);
        SpawnEffect(kind, at, param);
        TEffect* last = nullptr;
        for (TEffect& e : Effects)
            if (e.Index > 0 && static_cast<std::uint8_t>(e.EffectKind) == kind) last = &e;
        EXPECT_NE(last, nullptr);
        return *last;
    }
    // Sparkles started in the last step (they have moved once since).
    static int NewSparkles() {
        int n = 0;
        for (const TEffect& e : Effects) n += e.Index > 0 && e.EffectKind == Effect::Sparkle && e.Timer == 11;
        return n;
    }
    // Moves every effect once and runs the scene clock, as a tick does.
    void Step() {
        MoveEffects();
        SceneTimer += 1;
    }
};

TEST_F(EffectsTest, AScoreLabelLingersThenFliesUpFasterAndFaster) {
    TEffect& label = Start(Effect::ScoreLabel, 300, 300, 10);
    EXPECT_EQ(label.Pattern, 10);
    std::vector<std::int32_t> rise;
    while (label.Index > 0) {
        const std::int32_t y = label.Y;
        Step();
        rise.push_back((y - label.Y) / 1024);  // in 1/64 px
    }
    ASSERT_EQ(rise.size(), 100u);
    // 4/64 px a tick until its last 25 ticks (the speed changes after the move of that tick),
    // then 16, 64 and 256.
    const std::vector<std::int32_t> speeds{4, 16, 64, 256};
    const std::vector<int> lengths{76, 10, 10, 4};
    std::size_t t = 0;
    for (std::size_t k = 0; k < speeds.size(); ++k)
        for (int i = 0; i < lengths[k]; ++i, ++t) EXPECT_EQ(rise[t], speeds[k]) << "tick " << t;
}

TEST_F(EffectsTest, ABigBonusLabelSparklesForFiftyTicksThenEveryOtherTick) {
    Start(Effect::BonusLabel, 300, 300, 501);
    std::vector<int> sparkled;
    for (int t = 0; t < 150; ++t) {
        Step();
        if (NewSparkles() > 0) sparkled.push_back(t);
    }
    std::vector<int> expected;
    for (int t = 0; t < 30; ++t) expected.push_back(t);
    for (int t = 30; t < 50; t += 2) expected.push_back(t);
    EXPECT_EQ(sparkled, expected);
    // 500 itself is no big bonus.
    Start(Effect::BonusLabel, 300, 300, 500);
    Step();
    EXPECT_EQ(NewSparkles(), 0);
}

TEST_F(EffectsTest, DebrisDriftsDownEightPixelsATickStillSmokeDoesNot) {
    TEffect& debris = Start(Effect::Debris, 300, 100, 0);
    TEffect& smoke = Start(Effect::StillSmoke, 300, 100, 0);
    EXPECT_EQ(debris.Fall, 256);
    EXPECT_EQ(smoke.Fall, 0);
    for (TEffect* e : {&debris, &smoke}) {
        const std::int32_t y = e->Y;
        const std::int32_t own = Sin(e->Direction()) * e->Speed;
        MoveEffects();
        EXPECT_EQ(e->Y - y - own, e == &debris ? 8 * 65536 : 0);
    }
}

TEST_F(EffectsTest, TheBigExplosionSoundsItsPairAtSceneTimeSeventy) {
    Start(Effect::BigExplosion, 320, 200, 0);
    std::vector<int> deadAt;
    int raysBefore70 = 0;
    for (int t = 0; t < 100; ++t) {
        const int n = Played(Sound::Dead);
        if (SceneTimer == 69) raysBefore70 = ActiveEffects(Effect::ExplosionRay);
        Step();
        if (Played(Sound::Dead) > n) deadAt.push_back(SceneTimer - 1);
    }
    EXPECT_EQ(deadAt, (std::vector<int>{70}));
    EXPECT_EQ(Played(Sound::Dead), 2);
    EXPECT_GT(raysBefore70, 0);  // the rays began at tick 30
}

TEST_F(EffectsTest, ACaptionSpiralsOpensStaysAndRises) {
    SceneState = Scene::Credits;
    TEffect& cap = Start(Effect::CaptionFromBelow, 320, 200, 253);
    const std::int32_t half = form->Sprite.Patterns()[253].width() / 2;
    ASSERT_GT(half, 8);
    int ticks = 0;
    for (; cap.Step == 0; ++ticks) Step();
    EXPECT_EQ(ticks, 300);  // the spark's distance shrinks by one a tick
    EXPECT_GT(ActiveEffects(Effect::CaptionSpark), 0);
    for (ticks = 0; cap.Step == 1; ++ticks) Step();
    EXPECT_EQ(ticks, (half + 3) / 4);  // 4 px more to each side a tick
    while (cap.Step == 2) Step();
    EXPECT_EQ(cap.Timer, 998);
    const std::int16_t y = cap.YPos();
    for (int t = 0; t < 10; ++t) Step();
    EXPECT_LT(cap.YPos(), y);  // rising
    EXPECT_EQ(cap.Fall, -20);
    EXPECT_EQ(MyShip.XPos(), 320);  // the sparks never borrowed the ship
}

}  // namespace
}  // namespace tz::test
