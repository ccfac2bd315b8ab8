#include "game/tz_smooth.h"

#include <cstdlib>

namespace tz {
namespace {

void Take(TMotionPositions& to, const TPlayState& play) {
    to.MapPos = play.MapPos;
    to.MyShip = play.MyShip;
    to.MyShots = play.MyShots;
    to.Enemies = play.Enemies;
    to.EnemyShots = play.EnemyShots;
    to.Effects = play.Effects;
    to.StarField = play.StarField;
}

// One coordinate at the frame's moment; `weight` is alpha in 1/65536.
std::int32_t Between(std::int32_t before, std::int32_t now, std::int64_t weight) {
    const std::int64_t d = static_cast<std::int64_t>(now) - before;
    return static_cast<std::int32_t>(before + (d * weight) / 65536);
}

bool Near(std::int32_t a, std::int32_t b) { return std::llabs(static_cast<std::int64_t>(a) - b) <= SmoothJumpLimit; }

// Blends X and Y of a record that is the same object in both ticks and moved plausibly.
template <class T>
void BlendXY(T& now, const T& before, std::int64_t weight) {
    if (!Near(before.X, now.X) || !Near(before.Y, now.Y)) return;
    now.X = Between(before.X, now.X, weight);
    now.Y = Between(before.Y, now.Y, weight);
}

bool SameListed(const TCharacter& a, const TCharacter& b) {
    return a.Index >= 1 && a.Index == b.Index && a.CharType == b.CharType && (a.Pattern < 0) == (b.Pattern < 0);
}

// Bullets and effects: kept out of the list, Index 1 while active.
bool SameFree(const TCharacter& a, const TCharacter& b) { return a.Index == 1 && b.Index == 1; }

}  // namespace

void SmoothBeforeTick(TSmoothMotion& m, const TPlayState& play) {
    Take(m.Before, play);
    m.HaveBefore = true;
}

bool SmoothBlend(TSmoothMotion& m, TPlayState& play, double alpha) {
    if (!m.HaveBefore || m.Blended || !(alpha < 1.0)) return false;
    if (alpha < 0.0) alpha = 0.0;
    const auto weight = static_cast<std::int64_t>(alpha * 65536.0);
    Take(m.Drawn, play);
    m.Blended = true;
    const TMotionPositions& b = m.Before;

    if (Near(b.MapPos.x, play.MapPos.x) && Near(b.MapPos.y, play.MapPos.y)) {
        play.MapPos.x = Between(b.MapPos.x, play.MapPos.x, weight);
        play.MapPos.y = Between(b.MapPos.y, play.MapPos.y, weight);
    }
    if (SameListed(b.MyShip, play.MyShip)) BlendXY(play.MyShip, b.MyShip, weight);
    for (std::size_t i = 0; i < play.MyShots.size(); ++i) {
        const TMyShot& p = b.MyShots[i];
        TMyShot& c = play.MyShots[i];
        if (SameListed(p, c) && p.ShotKind == c.ShotKind) BlendXY(c, p, weight);
    }
    for (std::size_t i = 0; i < play.Enemies.size(); ++i) {
        const TEnemy& p = b.Enemies[i];
        TEnemy& c = play.Enemies[i];
        if (SameListed(p, c) && p.SubType == c.SubType) BlendXY(c, p, weight);
    }
    for (std::size_t i = 0; i < play.EnemyShots.size(); ++i) {
        const TEnemyShot& p = b.EnemyShots[i];
        TEnemyShot& c = play.EnemyShots[i];
        if (SameFree(p, c) && p.BulletKind == c.BulletKind) BlendXY(c, p, weight);
    }
    for (std::size_t i = 0; i < play.Effects.size(); ++i) {
        const TEffect& p = b.Effects[i];
        TEffect& c = play.Effects[i];
        if (SameFree(p, c) && (p.EffectKind & 0xFF) == (c.EffectKind & 0xFF)) BlendXY(c, p, weight);
    }
    for (std::size_t i = 0; i < play.StarField.size(); ++i) {
        const TStar& p = b.StarField[i];
        TStar& c = play.StarField[i];
        if (p.Speed == c.Speed) BlendXY(c, p, weight);
    }
    return true;
}

void SmoothRestore(TSmoothMotion& m, TPlayState& play) {
    if (!m.Blended) return;
    const TMotionPositions& d = m.Drawn;
    play.MapPos = d.MapPos;
    play.MyShip = d.MyShip;
    play.MyShots = d.MyShots;
    play.Enemies = d.Enemies;
    play.EnemyShots = d.EnemyShots;
    play.Effects = d.Effects;
    play.StarField = d.StarField;
    m.Blended = false;
}

}  // namespace tz
