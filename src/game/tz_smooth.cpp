#include "game/tz_smooth.h"

#include <cstdlib>

namespace tz {
namespace {

// The moving things' positions from one record to the other: taken from the play state
// into a copy, or put back from it (both records name them alike).
template <class To, class From>
void CopyMotion(To& to, const From& from) {
    to.MapPos = from.MapPos;
    to.MyShip = from.MyShip;
    to.MyShots = from.MyShots;
    to.Enemies = from.Enemies;
    to.EnemyShots = from.EnemyShots;
    to.Effects = from.Effects;
    to.StarField = from.StarField;
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

// Each slot of a table whose record is, by `same`, the same object in both ticks.
template <class Table, class Same>
void BlendTable(Table& now, const Table& before, std::int64_t weight, Same same) {
    for (std::size_t i = 0; i < now.size(); ++i)
        if (same(before[i], now[i])) BlendXY(now[i], before[i], weight);
}

}  // namespace

void SmoothBeforeTick(TSmoothMotion& m, const TPlayState& play) {
    CopyMotion(m.Before, play);
    m.HaveBefore = true;
}

bool SmoothBlend(TSmoothMotion& m, TPlayState& play, double alpha) {
    if (!m.HaveBefore || m.Blended || !(alpha < 1.0)) return false;
    if (alpha < 0.0) alpha = 0.0;
    const auto weight = static_cast<std::int64_t>(alpha * 65536.0);
    CopyMotion(m.Drawn, play);
    m.Blended = true;
    const TMotionPositions& b = m.Before;

    if (Near(b.MapPos.x, play.MapPos.x) && Near(b.MapPos.y, play.MapPos.y)) {
        play.MapPos.x = Between(b.MapPos.x, play.MapPos.x, weight);
        play.MapPos.y = Between(b.MapPos.y, play.MapPos.y, weight);
    }
    if (SameListed(b.MyShip, play.MyShip)) BlendXY(play.MyShip, b.MyShip, weight);
    BlendTable(play.MyShots, b.MyShots, weight,
               [](const TMyShot& p, const TMyShot& c) { return SameListed(p, c) && p.ShotKind == c.ShotKind; });
    BlendTable(play.Enemies, b.Enemies, weight,
               [](const TEnemy& p, const TEnemy& c) { return SameListed(p, c) && p.SubType == c.SubType; });
    BlendTable(play.EnemyShots, b.EnemyShots, weight, [](const TEnemyShot& p, const TEnemyShot& c) {
        return SameFree(p, c) && p.BulletKind == c.BulletKind;
    });
    BlendTable(play.Effects, b.Effects, weight, [](const TEffect& p, const TEffect& c) {
        return SameFree(p, c) && (p.EffectKind & 0xFF) == (c.EffectKind & 0xFF);
    });
    BlendTable(play.StarField, b.StarField, weight, [](const TStar& p, const TStar& c) { return p.Speed == c.Speed; });
    return true;
}

void SmoothRestore(TSmoothMotion& m, TPlayState& play) {
    if (!m.Blended) return;
    CopyMotion(play, m.Drawn);
    m.Blended = false;
}

}  // namespace tz
