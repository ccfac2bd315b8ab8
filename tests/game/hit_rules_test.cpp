// What contacts mean: damage and pushes, pick-ups and the bonus rate, bullets and the ship.
#include "play_fixture.h"

namespace tz::test {
namespace {

using HitRulesTest = PlayTest;

std::uint8_t Contact(TCharacter& own, TCharacter& other) {
    std::uint8_t flags = 0;
    CheckHit(own, other, flags);
    return flags;
}

TEST_F(HitRulesTest, TheBonusRateStopsAtEight) {
    BonusRate = 7;
    TEnemy* item = Spawn(EnemyKind::BonusItem, MyShip.XPos(), MyShip.YPos(), 2000);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Pattern, 49);
    EXPECT_EQ(Contact(*item, MyShip), cfStop);
    EXPECT_EQ(BonusRate, 8);
    EXPECT_EQ(Score, 16000);
    EXPECT_EQ(item->State, TPhase::phDown);
    EXPECT_EQ(Played(Sound::Bonus), 2);
    // The label shows the value and the rate it was paid at.
    const TEffect* label = nullptr;
    for (const TEffect& e : Effects)
        if (e.Index > 0 && e.EffectKind == Effect::BonusLabel) label = &e;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Value1, 2000);
    EXPECT_EQ(label->Value2, 8);

    TEnemy* big = Spawn(EnemyKind::BonusItem, static_cast<std::int16_t>(MyShip.XPos() + 1), MyShip.YPos(), 5000);
    Contact(*big, MyShip);
    EXPECT_EQ(BonusRate, 8);
    EXPECT_EQ(Score, 16000 + 40000);
    EXPECT_EQ(big->Work3, 3000);  // the sound's value is capped, the score's is not
}

TEST_F(HitRulesTest, ABonusItemLostAtTheBottomResetsTheRate) {
    BonusRate = 3;  // from bombs: no item was collected
    TEnemy* item = Spawn(EnemyKind::BonusItem, 200, 480, 100);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Pattern, 47);
    int ticks = 0;
    while (item->Index > 0 && ticks < 100) {
        MoveEnemies();
        ++ticks;
    }
    EXPECT_EQ(item->Index, -1);
    EXPECT_EQ(item->YPos(), 501);  // falls at 48/64 px a tick: removed once past 500
    EXPECT_EQ(BonusRate, 0);
}

TEST_F(HitRulesTest, ShotsPassThroughEnemiesDuringTimeOver) {
    TEnemy& e = Place(EnemyKind::FastDiver, 334, 345, 233, 60);
    SpawnMyShot(0, MyShip, 0);
    TMyShot& shot = *ShotOf(TShotKind::Valcan);
    SceneState = Scene::TimeOver;
    EXPECT_EQ(Contact(shot, e), 0);
    EXPECT_EQ(e.Life, 50);
    SceneState = Scene::Play;
    EXPECT_EQ(Contact(shot, e), cfStop);
    EXPECT_EQ(e.Life, 49);
}

TEST_F(HitRulesTest, AnOrdinaryEnemyPushesTheShipUnlessAtTheBottomOrAShard) {
    TEnemy& e = Place(EnemyKind::FastDiver, 320, 380, 233, 60);
    const std::int32_t y = MyShip.Y;
    EXPECT_EQ(Contact(e, MyShip), cfStop);
    EXPECT_EQ(DeadTimer, 0);
    EXPECT_NEAR(MyShip.Y - y, 4 * 65536, 65536 / 8);  // 4 px straight away (below it)

    // Pressed against the bottom edge it is crushed, shield or not.
    MyShip.Invincible = 140;
    MoveShipTo(320, 488);
    UnitList.MoveCharacter(e, 0, (MyShip.YPos() - 20 - e.YPos()) * 65536, 0);
    Contact(e, MyShip);
    EXPECT_GT(MyShip.YPos(), 490);
    EXPECT_EQ(DeadTimer, 1);
    EXPECT_EQ(Played(Sound::Dead), 2);
    EXPECT_EQ(ActiveEffects(Effect::ExplosionRay), 0);  // no rays for a crush

    DeadTimer = 0;
    MoveShipTo(320, 300);
    TEnemy& shard = Place(EnemyKind::Shard, 320, 290, 243, 30);
    Contact(shard, MyShip);
    EXPECT_EQ(DeadTimer, 1);
}

TEST_F(HitRulesTest, AWeaponItemShieldsFromBulletsButNotFromTheCrush) {
    TEnemy* item = Spawn(EnemyKind::WeaponItem, MyShip.XPos(), static_cast<std::int16_t>(MyShip.YPos() - 5), 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Pattern, 100);
    EXPECT_EQ(Contact(*item, MyShip), cfStop);
    EXPECT_EQ(MyShip.Weapon, 3);
    EXPECT_EQ(MyShip.Invincible, 140);
    EXPECT_EQ(Played(Sound::Weapon), 2);

    TEnemyShot& b = EnemyShots[0];
    b.Index = 1;
    b.CharType = TCharType::ctEnemyShot;
    b.BulletKind = Bullet::Aimed;
    b.X = MyShip.X + 3 * 65536;
    b.Y = MyShip.Y + 3 * 65536;  // 4.2 px away: near
    EXPECT_EQ(Contact(b, MyShip), cfStop);
    EXPECT_EQ(DeadTimer, 0);
    for (int t = 0; t < 140; ++t) Tick();  // the shield wears off
    EXPECT_EQ(MyShip.Invincible, 0);
    EXPECT_EQ(DeadTimer, 0);

    TEnemy& e = Place(EnemyKind::FastDiver, MyShip.XPos(), 470, 233, 60);
    MoveShipTo(MyShip.XPos(), 489);
    MyShip.Invincible = 140;
    Contact(e, MyShip);
    EXPECT_EQ(DeadTimer, 1);
}

TEST_F(HitRulesTest, BulletsHitWhenNearOrOnPatternContact) {
    TEnemyShot& b = EnemyShots[0];
    b.Index = 1;
    b.CharType = TCharType::ctEnemyShot;
    b.BulletKind = Bullet::Aimed;
    b.X = MyShip.X + 4 * 65536;
    b.Y = MyShip.Y + 3 * 65536;  // 5 px: not near
    EXPECT_EQ(Contact(b, MyShip), 0);
    // A beam segment hits wherever its circles meet the ship's.
    b.BulletKind = Bullet::BeamSegment;
    b.Pattern = 121;
    b.X = MyShip.X;
    b.Y = MyShip.Y - 15 * 65536;
    EXPECT_EQ(Contact(b, MyShip), cfStop);
    EXPECT_EQ(DeadTimer, 1);
    EXPECT_EQ(ActiveEffects(Effect::ExplosionRay), 2);
    // Not listed: nothing.
    DeadTimer = 0;
    UnitList.RemoveCharacter(MyShip);
    EXPECT_EQ(Contact(b, MyShip), 0);
}

TEST_F(HitRulesTest, BossesEnteringAreUnharmedAndTheBeamMidBossPaysPerHit) {
    TEnemy& boss = Place(EnemyKind::Stage1Boss, 334, 345, 233, 60);
    SpawnMyShot(0, MyShip, 0);
    Contact(*ShotOf(TShotKind::Valcan), boss);
    EXPECT_EQ(boss.Life, 50);
    EXPECT_EQ(boss.Flash, 0);
    boss.State = TPhase::phAttack;
    SpawnMyShot(0, MyShip, 0);
    Contact(*ShotOf(TShotKind::Valcan), boss);
    EXPECT_EQ(boss.Life, 49);

    TEnemy& mid = Place(EnemyKind::BeamMidBoss, 334, 345, 233, 60);
    mid.State = TPhase::phAttack;
    SpawnMyShot(0, MyShip, 0);
    Contact(*ShotOf(TShotKind::Valcan), mid);
    EXPECT_EQ(Score, 100);
    EXPECT_EQ(ActiveEffects(Effect::ScoreLabel), 1);
}

TEST_F(HitRulesTest, HeavyDriftersShoveOthersAndCrushTheFragile) {
    TEnemy& drifter = Place(EnemyKind::HeavyDrifterS, 300, 200, 224, 70, 300);
    TEnemy& mine = Place(EnemyKind::HomingMine, 350, 200, 231, 10, 1);
    TEnemy& entering = Place(EnemyKind::SwoopingFighter, 300, 330, 128, 40, 1);
    TEnemy& leaving = Place(EnemyKind::SwoopingFighter, 100, 150, 128, 40, 1);
    leaving.State = TPhase::phLeave;
    Contact(drifter, mine);
    EXPECT_EQ(mine.XPos(), 356);  // shoved 6 px straight away
    EXPECT_EQ(mine.Life, 0);
    Contact(drifter, entering);
    EXPECT_EQ(entering.Life, 1);
    Contact(drifter, leaving);  // crushed though not touching
    EXPECT_EQ(leaving.Life, 0);
    // Only heavy drifters do this.
    mine.Life = 1;
    Contact(entering, mine);
    EXPECT_EQ(mine.Life, 1);
}

}  // namespace
}  // namespace tz::test
