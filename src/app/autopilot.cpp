#include "app/autopilot.h"

#include <array>
#include <cstdlib>

#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_kinds.h"
#include "game/tz_outlet.h"

namespace app {
namespace {

constexpr std::array<TAutopilotLevel, AutopilotLevels> Levels{{
    {4, 8, false, 20},
    {7, 5, false, 8},
    {10, 3, true, 2},
    {14, 2, true, 0},
}};

constexpr std::array<std::uint8_t, 9> Moves{
    0,       tz::KeyUp,  tz::KeyDown, tz::KeyLeft, tz::KeyRight, tz::KeyUp | tz::KeyLeft, tz::KeyUp | tz::KeyRight,
    tz::KeyDown | tz::KeyLeft, tz::KeyDown | tz::KeyRight};

constexpr double Dead = -1.0e9;

bool IsItem(const tz::TEnemy& e) {
    return e.SubType == tz::EnemyKind::WeaponItem || e.SubType == tz::EnemyKind::BonusItem;
}

// How much the autopilot likes the state it has looked ahead to.
double Judge(std::int32_t scoreBefore, std::int32_t bombsBefore) {
    if (tz::DeadTimer > 0 || tz::MyShip.Index <= 0) return Dead;
    const double sx = tz::MyShip.XPos();
    const double sy = tz::MyShip.YPos();
    double value = 0;
    // Bullets: the closer, the worse.
    for (const tz::TEnemyShot& b : tz::EnemyShots) {
        if (b.Index <= 0 || b.BulletKind == tz::Bullet::Cancelled || b.Pattern < 0) continue;
        const double dx = b.XPos() - sx, dy = b.YPos() - sy;
        const double d2 = dx * dx + dy * dy;
        if (d2 < 60.0 * 60.0) value -= (3600.0 - d2) * 0.05;
    }
    // Enemies: keep clear of their bodies, stay under the nearest one to shoot it; items:
    // go and fetch them.
    double bestAim = 1.0e9;
    for (const tz::TEnemy& e : tz::Enemies) {
        if (e.Index <= 0 || e.Pattern < 0) continue;
        const double dx = e.XPos() - sx, dy = e.YPos() - sy;
        if (IsItem(e)) {
            value -= (std::abs(dx) + std::abs(dy)) * 0.3;
            continue;
        }
        if (!e.OnCheck) continue;
        const double reach = e.Radius + 28.0;
        const double d2 = dx * dx + dy * dy;
        if (d2 < reach * reach) value -= (reach * reach - d2) * 0.08;
        if (dy < -20 && e.YPos() > 0 && std::abs(dx) < bestAim) bestAim = std::abs(dx);
    }
    if (bestAim < 1.0e9) value -= bestAim * 0.6;
    // A good place to be: low in the middle, clear of the bottom edge, where a push kills.
    if (sy < 260) value -= (260 - sy) * 1.5;
    if (sy > 440) value -= (sy - 440) * 6.0;
    if (sx < 160) value -= (160 - sx) * 1.0;
    if (sx > 480) value -= (sx - 480) * 1.0;
    value += (tz::Score - scoreBefore) * 0.02;
    value -= (bombsBefore - tz::MyShip.Bombs) * 400.0;
    return value;
}

}  // namespace

TAutopilotLevel AutopilotLevel(std::int32_t level) {
    if (level < 0) level = 0;
    if (level >= AutopilotLevels) level = AutopilotLevels - 1;
    return Levels[static_cast<std::size_t>(level)];
}

TAutopilot::TAutopilot(std::int32_t level, std::uint32_t seed, TTick tick, void* context)
    : FLevel(AutopilotLevel(level)), FRandom{seed}, FTick(tick), FContext(context) {}

std::uint8_t TAutopilot::FireBits(std::int32_t tickOffset) const {
    // The Valcan and the Laser fire while the button is held; the Canon fires on a press,
    // the Thunder and the Beam on a press and on a release.
    const std::int32_t t = tz::SceneTimer + tickOffset;
    switch (tz::MyShip.Weapon) {
        case 1: return (t % 12) < 6 ? tz::KeyFire : 0;
        case 2: return (t % 16) < 8 ? tz::KeyFire : 0;
        case 3: return (t % 8) < 4 ? tz::KeyFire : 0;
        default: return tz::KeyFire;
    }
}

double TAutopilot::Outcome(std::uint8_t move, std::uint8_t* feed, std::size_t feedSize) {
    const std::int32_t scoreBefore = tz::Score;
    const std::int32_t bombsBefore = tz::MyShip.Bombs;
    tz::SaveGameState(FSnapshot);
    double value = 0;
    {
        tz::TSilencedOutlet silence;
        for (std::int32_t k = 0; k < FLevel.Horizon; ++k) {
            const std::uint64_t at = tz::FeedPos;
            if (at < feedSize) feed[at] = static_cast<std::uint8_t>(move | FireBits(k));
            FTick(FContext);
            ++FSimulated;
            if (tz::DeadTimer > 0) {
                // Dying later is less bad than dying at once.
                value = Dead + k * 1.0e6;
                break;
            }
            // Danger on the way counts too, not only where the move ends.
            if (k + 1 == FLevel.Horizon || k % 4 == 3) value += Judge(scoreBefore, bombsBefore);
        }
    }
    tz::RestoreGameState(FSnapshot);
    return value;
}

std::uint8_t TAutopilot::Choose(std::uint8_t* feed, std::size_t feedSize) {
    const bool alive = tz::DeadTimer == 0 && tz::MyShip.Index > 0;
    if (alive && --FUntilDecision <= 0) {
        FUntilDecision = FLevel.DecideEvery;
        const std::size_t count = FLevel.Diagonals ? Moves.size() : 5;
        double best = 0;
        std::uint8_t bestMove = 0;
        bool any = false;
        for (std::size_t i = 0; i < count; ++i) {
            // Ties go to the move held now, then to the earlier one: no dithering.
            const double v = Outcome(Moves[i], feed, feedSize) + (Moves[i] == FMove ? 0.5 : 0.0);
            if (!any || v > best) {
                best = v;
                bestMove = Moves[i];
                any = true;
            }
        }
        FMove = bestMove;
        if (FLevel.SlipPercent > 0 && FRandom.Random(100) < FLevel.SlipPercent)
            FMove = Moves[static_cast<std::size_t>(FRandom.Random(static_cast<std::int32_t>(count)))];
        // Cornered: every move ends in a hit. The bomb clears the screen.
        if (best <= Dead / 2 && tz::SceneState == tz::Scene::Play && tz::MyShip.Bombs > 0 &&
            (tz::MyShip.OldKeys & tz::KeyBomb) == 0 &&
            (tz::MyShip.Keys & tz::KeyBomb) == 0)
            return static_cast<std::uint8_t>(FMove | FireBits(0) | tz::KeyBomb);
    }
    return static_cast<std::uint8_t>(FMove | FireBits(0));
}

}  // namespace app
