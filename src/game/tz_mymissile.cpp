#include "game/tz_mymissile.h"

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

struct TShotStart {
    std::int16_t X, Y;        // relative to the ship (FireSide applied where marked)
    bool SideX;               // X is multiplied by FireSide
    std::int16_t Pattern;
    std::int16_t Radius;      // also Range 20 and Margin = Radius
};

constexpr std::array<TShotStart, 6> ShotStart = {{
    {14, -55, true, 0, 5},
    {12, -45, false, 109, 5},
    {24, -16, true, 110, 5},
    {12, 0, true, 115, 10},
    {0, -90, false, 121, 5},
    {0, 0, false, 158, 20},
}};

// The four pieces of a bursting shell fly out diagonally.
constexpr std::array<std::int32_t, 4> FragmentDirections = {32, 96, 160, 224};

void FlyValcan(TMyShot& s) {
    if (s.Timer == 10 || s.Timer == 5) s.Speed = static_cast<std::int16_t>(s.Speed / 2);
}

// The shell slows down in steps and bursts when its time is up or its pierce is spent.
void FlyCanon(TMyShot& s) {
    if (s.Timer % 16 == 0 && s.Speed > 400) s.Speed = static_cast<std::int16_t>(s.Speed - 200);
    if (s.Timer == 0 || s.Pierce <= 0) {
        PlaySE(Sound::Canon, PanOf(s), 0, 100);
        for (const std::int32_t dir : FragmentDirections) SpawnMyShot(static_cast<std::uint8_t>(TShotKind::Fragment), s, dir);
    }
}

// The bolt speeds up in its second half and trails smoke, swept back while mid-life.
void FlyThunder(TMyShot& s) {
    if (s.Timer <= 16) s.Speed = static_cast<std::int16_t>(s.Speed + 80);
    const std::int32_t d = (s.Timer >= 10 && s.Timer <= 20) ? 184 + Random(16) : Random(256);
    SpawnEffect(Effect::SmokeEmitter, s, d);
}

// Fired backwards, the beam turns outward until it heads up, then accelerates.
void FlyBeam(TMyShot& s) {
    const std::int32_t offUp = SignedTurn(s.Direction(), 192);
    if ((offUp >= -20 && offUp <= 20) || s.Timer <= 90) {
        if (s.Speed < 1000) s.Speed = static_cast<std::int16_t>(s.Speed + 100);
    } else if (s.Timer <= 96) {
        const std::uint8_t d = s.Direction();
        s.SetDirection(static_cast<std::uint8_t>(d + ((d <= 64 || d >= 192) ? -20 : 20)));
    }
    if (s.Timer == 90 || s.Timer == 80) s.Pattern = static_cast<std::int16_t>(s.Pattern + 1);
    s.Rotation = s.Direction();
}

// The laser follows the ship sideways and flashes at its head.
void FlyLaser(TMyShot& s) {
    s.SetXPos(MyShip.XPos());
    SpawnEffect(Effect::LaserFlash, s, 0);
}

// A fragment burns out through its frames and curls as it slows.
void FlyFragment(TMyShot& s) {
    const std::int32_t oldTimer = s.Timer + 1;
    if (oldTimer == 13 || oldTimer == 9 || oldTimer == 5) s.Pattern = static_cast<std::int16_t>(s.Pattern + 1);
    if (s.Timer < 12) s.SetDirection(static_cast<std::uint8_t>(s.Direction() + 8));
}

}  // namespace

void SpawnMyShot(std::uint8_t Kind, TCharacter& Source, std::int32_t Param) {
    if (Kind > 5) return;
    TMyShot* shot = nullptr;
    for (TMyShot& s : MyShots)
        if (s.Index < 0) { shot = &s; break; }
    if (!shot) return;

    const std::int32_t side = MyShip.FireSide;
    const TShotStart& st = ShotStart[Kind];
    shot->ShotKind = Kind;
    shot->Timer = ShotLife[Kind];
    shot->Speed = ShotSpeed[Kind];
    shot->Pierce = ShotPierce[Kind];

    std::int32_t x = MyShip.XPos() + (st.SideX ? st.X * side : st.X);
    std::int32_t y = MyShip.YPos() + st.Y;
    std::int32_t dir = 192;
    switch (static_cast<TShotKind>(Kind)) {
    case TShotKind::Valcan:
        RandSeed = static_cast<std::uint32_t>(SceneTimer);
        dir = 192 + side * Random(3);
        break;
    case TShotKind::Thunder: dir = 192 - 4 * side; break;
    case TShotKind::Beam: dir = 64 - 3 * side; break;
    case TShotKind::Fragment:
        x = Source.XPos();
        y = Source.YPos();
        dir = Param;
        break;
    default: break;
    }
    if (!UnitList.AddCharacter(*shot, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                               static_cast<std::uint8_t>(dir), st.Pattern, TCharType::ctOwnShot, st.Radius, 20, st.Radius, 0, 0))
        return;
    shot->LastHit = -1;
    shot->OnCheck = CheckHit;
    shot->OnDraw = DrawCharacter;

    const std::int32_t pan = PanOf(*shot);
    switch (static_cast<TShotKind>(Kind)) {
    case TShotKind::Valcan:
        shot->Speed = static_cast<std::int16_t>(shot->Speed + Random(100));
        SpawnEffect(Effect::MuzzleFlash, *shot, 0);
        PlaySE(Sound::Valcan, side * 5 + pan, 0, 110);
        break;
    case TShotKind::Canon:
        SpawnEffect(Effect::MuzzleFlash, *shot, 0);
        PlaySE(Sound::Fire, pan, 0, 50 + Random(20));
        break;
    case TShotKind::Thunder: PlaySE(Sound::Thunder, side * 5 + pan, 0, 100); break;
    case TShotKind::Beam:
        shot->Rotation = static_cast<std::uint8_t>(dir);
        PlaySE(Sound::Beam, side * 5 + pan, 0, 300);
        break;
    case TShotKind::Laser:
        shot->Timer = MyShip.Charge;
        if (SceneTimer % 4 == 0) PlaySE(Sound::Laser, pan, -MyShip.Charge / 8, 100);
        break;
    case TShotKind::Fragment: break;
    }
}

void MoveMyShots() {
    for (TMyShot& s : MyShots) {
        if (s.Index <= 0) continue;
        s.Timer -= 1;
        switch (static_cast<TShotKind>(s.ShotKind)) {
        case TShotKind::Valcan: FlyValcan(s); break;
        case TShotKind::Canon: FlyCanon(s); break;
        case TShotKind::Thunder: FlyThunder(s); break;
        case TShotKind::Beam: FlyBeam(s); break;
        case TShotKind::Laser: FlyLaser(s); break;
        case TShotKind::Fragment: FlyFragment(s); break;
        }
        if (s.Pierce <= 0) s.Timer = 0;
        if (s.YPos() < -100 || s.YPos() > 580 || s.XPos() < -40 || s.XPos() > 680) s.Timer = 0;
        if (s.Timer > 0)
            UnitList.Advance(s);
        else
            UnitList.RemoveCharacter(s);
    }
}

}  // namespace tz
