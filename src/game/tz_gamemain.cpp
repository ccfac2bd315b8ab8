#include "game/tz_gamemain.h"
#include "game/tz_outlet.h"
#include "game/tz_input.h"

#include <cstdlib>
#include <string>

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "core/random.h"
#include "game/tz_replay.h"
#include "game/tz_globals.h"
#include "game/tz_unitlist.h"

namespace tz {


namespace {

constexpr std::int32_t TallyPayment = 1145;

std::int32_t StageMark() {
    switch (StageNo) {
    case 1: return Stage1Mark;
    case 2: return Stage2Mark;
    default: return 0;
    }
}

void StartTally() {
    TallyX.fill(-200);
    TallyValue[0] = ((TimeLeft - StageMark()) * 10000 / 70) / 10 * 10;
    TallyValue[1] = MyShip.Lives * 10000;
    TallyValue[2] = MyShip.Bombs * 2000;
    // A stage that released no spawn entries has no destroyed ratio to pay.
    TallyValue[3] = SpawnedCount > 0
                        ? static_cast<std::int32_t>(static_cast<std::int64_t>(KilledCount) * 100000 / SpawnedCount) / 10 * 10
                        : 0;
}

void RunTally() {
    if (SceneTimer == 0) StartTally();
    if (SceneTimer < 80) TallyX[static_cast<std::size_t>(SceneTimer / 20)] += 12;
    bool fullPayment = false;
    for (std::int32_t i = 0; i <= SceneTimer / 20; ++i) {
        if (i <= 3 && TallyX[static_cast<std::size_t>(i)] < 220) TallyX[static_cast<std::size_t>(i)] += 4;
        if (i >= 15 && i <= 18) {
            std::int32_t& value = TallyValue[static_cast<std::size_t>(i - 15)];
            if (value > TallyPayment) {
                Score += TallyPayment;
                value -= TallyPayment;
                fullPayment = true;
            } else {
                Score += value;
                value = 0;
            }
        }
    }
    if (fullPayment && SceneTimer % 8 == 0) PlaySE(Sound::Arrow, 0, 10, 100);
    if (SceneTimer > 600 && TallyValue[0] <= 0) SetScene(6);
}

void RunClearFade() {
    if (SceneTimer >= 36) {
        if (StageNo >= 3)
            FadeToWhite((SceneTimer - 36) * 4);
        else
            FadeToBlack((SceneTimer - 36) * 4);
    }
    if (SceneTimer >= 100) {
        if (StageNo < 3)
            SetScene(3);
        else
            SetScene(ReplayMode ? 1 : 8);  // a replay never shows the ending
        RequestUserEvent();
    }
}

void FreeTables() {
    for (TMyShot& r : MyShots) { r = TMyShot{}; r.Index = -1; }
    for (TEnemy& r : Enemies) { r = TEnemy{}; r.Index = -1; }
    for (TEnemyShot& r : EnemyShots) { r = TEnemyShot{}; r.Index = -1; }
    for (TEffect& r : Effects) { r = TEffect{}; r.Index = -1; }
}

bool Held(std::uint8_t bit) { return (MyShip.Keys & bit) != 0; }
bool Pressed(std::uint8_t bit) { return (MyShip.Keys & bit) != 0 && (MyShip.OldKeys & bit) == 0; }
bool Changed(std::uint8_t bit) { return ((MyShip.Keys ^ MyShip.OldKeys) & bit) != 0; }

void StepDeadShip() {
    if (DeadTimer == 1) UnitList.RemoveCharacter(MyShip);
    DeadTimer += 1;
    MyShip.Pattern = -1;
    if (DeadTimer < 40) {
        SpawnEffect(Effect::Smoke, MyShip, 512);
        SpawnEffect(Effect::Sparkle, MyShip, 1024);
        SpawnEffect(Effect::Sparkle, MyShip, 1024);
    }
    if (DeadTimer < 80) {
        if (Random() < 0.3) SpawnEffect(Effect::Shard, MyShip, 0);
        if (Random() < 0.1) SpawnEffect(Effect::Wreckage, MyShip, 0);
    }
}

void StepMove() {
    std::int32_t dx = 0, dy = 0;
    if (SceneState == 6) {
        MyShip.Keys = KeyUp;  // the ship flies off upward, faster each tick
        dx = Sign(320 - MyShip.XPos()) * 2 * 65536;
        dy = MyShip.YPos() <= -200 ? 0 : -(SceneTimer * 16384);
    } else {
        if (Held(KeyUp) && MyShip.YPos() > 160) dy = -260000;
        if (Held(KeyDown) && MyShip.YPos() < 469) dy = 260000;
        if (Held(KeyLeft) && MyShip.XPos() > 20) dx = -260000;
        if (Held(KeyRight) && MyShip.XPos() < 619) dx = 260000;
    }
    UnitList.MoveCheck(MyShip, dx, dy, 0);
    Clamp(20 * 65536, MyShip.X, 619 * 65536);
}

void StepTilt() {
    MyShip.Pattern = 85;
    Approach(MyShip.TiltDown, 0, 1);
    Approach(MyShip.TiltLeft, 0, 1);
    Approach(MyShip.TiltRight, 0, 1);
    if (Held(KeyLeft)) { MyShip.Tilt = 2; Approach(MyShip.TiltLeft, 23, 3); }
    if (Held(KeyRight)) { MyShip.Tilt = 3; Approach(MyShip.TiltRight, 23, 3); }
    if (Held(KeyDown)) { MyShip.Tilt = 1; Approach(MyShip.TiltDown, 23, 3); }
    switch (MyShip.Tilt) {
    case 1: if (MyShip.TiltDown > 1) MyShip.Pattern = static_cast<std::int16_t>(86 + MyShip.TiltDown / 8); break;
    case 2: if (MyShip.TiltLeft > 1) MyShip.Pattern = static_cast<std::int16_t>(89 + MyShip.TiltLeft / 8); break;
    case 3: if (MyShip.TiltRight > 1) MyShip.Pattern = static_cast<std::int16_t>(92 + MyShip.TiltRight / 8); break;
    default: break;
    }
}

}  // namespace

std::int32_t CameraStep(std::int32_t d) {
    if (d <= 3) return 2000;
    if (d <= 6) return 4000;
    if (d <= 12) return 7000;
    if (d <= 24) return 11000;
    if (d <= 40) return 16000;
    if (d <= 56) return 24000;
    if (d <= 72) return 36000;
    if (d <= 100) return 56000;
    if (d <= 140) return 80000;
    return 200000;
}

void LaunchShip(std::int16_t X, std::int16_t Y) {
    UnitList.AddCharacter(MyShip, X, Y, 192, 85, TCharType::ctOwnShip, 20, 20, 20, 0, 0);
    MyShip.OnCheck = CheckHit;
    MyShip.OnDraw = DrawCharacter;
}

void RelaunchShip() {
    MyShip.Lives = static_cast<std::int8_t>(MyShip.Lives - 1);
    DeadTimer = 0;
    LaunchShip(320, 400);
    MyShip.Tilt = 0;
    MyShip.TiltDown = MyShip.TiltLeft = MyShip.TiltRight = 0;
    MyShip.Invincible = 140;
    MyShip.FireSide = 1;
    MyShip.Charge = 0;
    MyShip.Weapon = 0;
    MyShip.Bombs = 5;
    BonusRate = 0;
}

void StepTimeAndClear() {
    if (TimeLeft < 0) {  // stage 1 before the carrier has brought the ship in
        if (SceneTimer % 100 == 0) {
            PlaySE(Sound::Warning, -70, 0, 101);
            PlaySE(Sound::Warning, 70, 0, 100);
        }
        return;
    }
    if (TimeLeft == 0) return;  // time over: the clock stays at 0
    if (SceneState == 4 && ((StageNo == 1 && TimeLeft <= Stage1Mark) || (StageNo == 2 && TimeLeft <= Stage2Mark)))
        SetScene(5);
    if (SceneState == 5) RunTally();
    if (SceneState == 6) RunClearFade();
    if (SceneState == 4) TimeLeft -= 1;
}

void StepCamera() {
    const std::int32_t target = (MyShip.XPos() * 256 / 640) * 65536;
    const std::int32_t diff = target - MapPos.x;
    const std::int32_t d = std::abs(diff) / 16384;
    if (d == 0)
        MapPos.x = target;
    else
        MapPos.x += Sign(diff) * CameraStep(d);
}

void StepInput() {
    MyShip.OldKeys = MyShip.Keys;
    MyShip.Keys = NextTickInput();
}

void StepBomb() {
    if (Pressed(KeyBomb) && MyShip.Bombs > 0) {
        MyShip.Bombs = static_cast<std::int8_t>(MyShip.Bombs - 1);
        PlaySE(Sound::Bomb, -30, 0, 130);
        PlaySE(Sound::Bomb, 30, 0, 90);
        MyShip.QuakeTimer = 70;
        if (SceneState != 7) {
            for (TEnemy& e : Enemies) {
                if (e.Index <= 0) continue;
                e.Life = static_cast<std::int16_t>(e.Life - 4);
                e.Flash = static_cast<std::uint8_t>(e.Flash + 20);
            }
        }
        MyShip.BombBonus = 0;
        for (TEnemyShot& b : EnemyShots) {
            if (b.Index <= 0) continue;
            b.BulletKind = Bullet::Cancelled;
            SpawnEffect(Effect::Smoke, b, 0);
            MyShip.BombBonus += 100;
        }
        if (MyShip.BombBonus > 0) {
            if (BonusRate == 0) BonusRate = 1;
            Score += MyShip.BombBonus * BonusRate;
            SpawnEffect(Effect::BonusLabel, MyShip, MyShip.BombBonus);
            MyShip.BombBonus = 0;
        }
    }
    if (MyShip.QuakeTimer > 0) {
        MyShip.QuakeTimer = static_cast<std::int16_t>(MyShip.QuakeTimer - 1);
        for (TEnemyShot& b : EnemyShots)
            if (b.Index > 0) b.BulletKind = Bullet::Cancelled;
    }
}

void StepFire() {
    const std::uint8_t weapon = MyShip.Weapon;
    const std::int8_t burst = BurstTable[weapon % BurstTable.size()];
    bool fire = false;
    switch (weapon) {
    case 1:
        if (Pressed(KeyFire)) MyShip.Burst = burst;
        fire = MyShip.Burst > 0;
        break;
    case 2:
        if (Changed(KeyFire)) MyShip.Burst = burst;
        fire = Pressed(KeyFire) || MyShip.Burst > 0;
        break;
    case 3:
        if (Changed(KeyFire)) MyShip.Burst = burst;
        fire = Changed(KeyFire) || MyShip.Burst > 0;
        break;
    default:  // Valcan and Laser fire while the button is held
        fire = Held(KeyFire);
        break;
    }
    if (!Held(KeyFire)) MyShip.Charge = 0;

    if (MyShip.FireWait >= 0) MyShip.FireWait = static_cast<std::int8_t>(MyShip.FireWait - 1);
    if (fire && MyShip.FireWait < 0) {
        SpawnMyShot(weapon, MyShip, 0);
        if (MyShip.Burst > 0) MyShip.Burst = static_cast<std::int8_t>(MyShip.Burst - 1);
        MyShip.FireWait = FireWaitTable[weapon % FireWaitTable.size()];
        MyShip.FireSide = static_cast<std::int8_t>(-MyShip.FireSide);
        if (weapon == 4 && MyShip.Charge < 100) MyShip.Charge += 2;
    }
}

void StepShip() {
    if (DeadTimer > 0) {
        StepDeadShip();
        return;
    }
    if (MyShip.Index <= 0) return;  // not launched yet
    if (MyShip.Invincible > 0) {
        MyShip.Invincible -= 1;
        if (SceneState != Scene::StageClear && SceneState != Scene::StageFade) SpawnEffect(Effect::Sparkle, MyShip, 1024);  // shield glitter
    }
    if (SceneState == 5 || SceneState == 6) MyShip.Invincible = 2;
    StepMove();
    StepTilt();
    StepBomb();
    StepFire();
}

void ReleaseSpawns() {
    const std::int16_t scroll = WholePart(MapPos.y);
    while (MapIndex >= 0 && SpawnList[static_cast<std::size_t>(MapIndex)].Y > scroll) {
        SpawnList[static_cast<std::size_t>(MapIndex)].Y = -40;
        SpawnEnemy(MapIndex, 0);
        SpawnedCount += 1;
        MapIndex -= 1;
    }
}

void GameStep() {
    MoveEnemies();
    MoveEnemyShots();
    StepTimeAndClear();
    MoveStars();
    StepCamera();
    MapPos.y = WrapSub(MapPos.y, 65536);  // the whole part falls by one, the fraction stays
    StepInput();
    StepShip();
    ReleaseSpawns();
    MoveMyShots();
    MoveEffects();
}

void StageStart() {
    const std::int16_t scroll = WholePart(MapPos.y);
    if (scroll < 0) {  // a start inside the stage: the clock and the entries already passed
        TimeLeft = scroll + ProcessPerSec * 300;
        if (StageNo > 1) TimeLeft -= 6300;
        if (StageNo > 2) TimeLeft -= 6300;
        while (MapIndex >= 0 && SpawnList[static_cast<std::size_t>(MapIndex)].Y > scroll) MapIndex -= 1;
    }
    SpawnedCount = 0;
    KilledCount = 0;
    ScatterStars();
    UnitList.SetupSlots();
    MyShip.X = WithWholePart(MyShip.X, 320);
    MyShip.Y = WithWholePart(MyShip.Y, 400);
    MyShip.Index = -1;
    if (StageNo > 1 || scroll < 0) LaunchShip(320, 400);
    MyShip.Tilt = 0;
    MyShip.TiltDown = MyShip.TiltLeft = MyShip.TiltRight = 0;
    MyShip.Invincible = 70;
    MyShip.FireSide = 1;
    MyShip.Charge = 0;
    MyShip.QuakeTimer = 0;
    MapPos.x = WithWholePart(MapPos.x, 128);
    FreeTables();
    StartMusic(StageMusic(StageNo));  // replaces the piece playing
}

}  // namespace tz
