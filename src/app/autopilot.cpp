#include "app/autopilot.h"

#include <algorithm>
#include <cstdlib>

#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_outlet.h"

namespace app {
namespace {

//  horizon, every, reaction, diagonals, slip, whim, overlook, {bullet ticks, aim, caution}
constexpr std::array<TAutopilotLevel, AutopilotLevels> Levels{{
    {6, 6, 4, false, 5, 30, 45, {10, 0.3, 0.7}},
    {8, 5, 3, false, 4, 25, 35, {14, 0.6, 0.8}},
    {10, 3, 2, true, 2, 20, 15, {20, 1.0, 1.0}},
    {14, 2, 0, true, 0, 10, 0, {28, 1.4, 1.0}},
}};

constexpr std::array<std::uint8_t, 9> Moves{
    0,       tz::KeyUp,  tz::KeyDown, tz::KeyLeft, tz::KeyRight, tz::KeyUp | tz::KeyLeft, tz::KeyUp | tz::KeyRight,
    tz::KeyDown | tz::KeyLeft, tz::KeyDown | tz::KeyRight};

constexpr double Dead = -1.0e9;
constexpr std::int32_t NoticeDistance = 80;  // pixels

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
    // the Thunder and the Beam on a press and on a release: the button goes up and down as
    // fast as each weapon reloads.
    const std::int32_t t = tz::SceneTimer + tickOffset;
    switch (tz::MyShip.Weapon) {
        case 1: return (t % 12) < 6 ? tz::KeyFire : 0;
        case 2: return (t % 30) < 15 ? tz::KeyFire : 0;
        case 3: return (t % 8) < 4 ? tz::KeyFire : 0;
        default: return tz::KeyFire;
    }
}

void TAutopilot::Committed(std::array<std::uint8_t, Pending>& bits) const {
    std::uint8_t held = FHeld;
    for (std::int32_t j = 0; j < FLevel.Reaction; ++j) {
        const std::size_t slot = static_cast<std::size_t>((FTicks + j) % std::int64_t{Pending});
        if (FPlannedSet[slot]) held = FPlanned[slot];
        bits[static_cast<std::size_t>(j)] = held;
        held = static_cast<std::uint8_t>(held & ~tz::KeyBomb);
    }
}

double TAutopilot::Outcome(std::uint8_t move, std::uint8_t* feed, std::size_t feedSize) {
    const TJudgeStart start = JudgeStart();
    tz::SaveGameState(FSnapshot);
    // The bullets it has not noticed are not there for it (bullets are outside the object
    // list, so freeing them in the copy it plays ahead on is harmless).
    if (FLevel.Overlook > 0)
        for (std::size_t i = 0; i < tz::EnemyShots.size(); ++i)
            if (FOverlooked[i]) tz::EnemyShots[i].Index = -1;
    double value = 0;
    {
        tz::TSilencedOutlet silence;
        // What it has already set its hands to do comes first; the move follows.
        const std::int32_t ticks = FLevel.Reaction + FLevel.Horizon;
        for (std::int32_t k = 0; k < ticks; ++k) {
            const std::uint8_t bits = k < FLevel.Reaction ? FCommitted[static_cast<std::size_t>(k)] : move;
            const std::uint64_t at = tz::FeedPos;
            if (at < feedSize) feed[at] = static_cast<std::uint8_t>(bits | FireBits(k));
            FTick(FContext);
            ++FSimulated;
            if (tz::DeadTimer > 0) {
                // Dying later is less bad than dying at once.
                value = Dead + k * 1.0e6;
                break;
            }
            // Danger on the way counts too, not only where the move ends.
            const std::int32_t m = k - FLevel.Reaction;
            if (m >= 0 && (k + 1 == ticks || m % 4 == 3)) value += JudgeState(start, FLevel.Sight);
        }
    }
    tz::RestoreGameState(FSnapshot);
    return value;
}

void TAutopilot::Decide(std::uint8_t* feed, std::size_t feedSize) {
    const std::size_t count = FLevel.Diagonals ? Moves.size() : 5;
    Committed(FCommitted);
    if (FLevel.Overlook > 0) {
        // Bullets right by the ship catch the eye; the farther one is, the likelier it is
        // missed, up to the level's rate at NoticeDistance and beyond.
        const std::int32_t sx = tz::MyShip.XPos(), sy = tz::MyShip.YPos();
        for (std::size_t i = 0; i < tz::EnemyShots.size(); ++i) {
            const tz::TEnemyShot& b = tz::EnemyShots[i];
            FOverlooked[i] = false;
            if (b.Index <= 0) continue;
            const std::int32_t d = std::max(std::abs(b.XPos() - sx), std::abs(b.YPos() - sy));
            FOverlooked[i] = FRandom.Random(100 * NoticeDistance) < FLevel.Overlook * std::min(d, NoticeDistance);
        }
    }
    double best = 0;
    std::uint8_t bestMove = 0;
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
        // Ties go to the move held now, then to the earlier one: no dithering.
        // A whim of its own (from its seed) varies its games without ever outweighing a hit.
        const double whim = FLevel.Whim > 0 ? FRandom.Random(FLevel.Whim) : 0;
        const double v = Outcome(Moves[i], feed, feedSize) + (Moves[i] == FMove ? 0.5 : 0.0) + whim;
        if (!any || v > best) {
            best = v;
            bestMove = Moves[i];
            any = true;
        }
    }
    FMove = bestMove;
    if (FLevel.SlipPercent > 0 && FRandom.Random(100) < FLevel.SlipPercent)
        FMove = Moves[static_cast<std::size_t>(FRandom.Random(static_cast<std::int32_t>(count)))];
    std::uint8_t planned = FMove;
    // Cornered: every move ends in a hit. The bomb clears the screen.
    if (best <= Dead / 2 && tz::MyShip.Bombs > 0 && tz::MyShip.QuakeTimer == 0) planned |= tz::KeyBomb;
    const std::size_t slot = static_cast<std::size_t>((FTicks + FLevel.Reaction) % std::int64_t{Pending});
    FPlanned[slot] = planned;
    FPlannedSet[slot] = true;
}

std::uint8_t TAutopilot::Choose(std::uint8_t* feed, std::size_t feedSize) {
    const bool alive = tz::DeadTimer == 0 && tz::MyShip.Index > 0;
    if (alive && tz::SceneState == tz::Scene::Play && --FUntilDecision <= 0) {
        FUntilDecision = FLevel.DecideEvery;
        Decide(feed, feedSize);
    }
    const std::size_t slot = static_cast<std::size_t>(FTicks % std::int64_t{Pending});
    ++FTicks;
    if (FPlannedSet[slot]) {
        FHeld = FPlanned[slot];
        FPlannedSet[slot] = false;
    }
    std::uint8_t keys = static_cast<std::uint8_t>(FHeld | FireBits(0));
    // The bomb is one press: held for a tick, then let go.
    FHeld = static_cast<std::uint8_t>(FHeld & ~tz::KeyBomb);
    if ((tz::MyShip.Keys & tz::KeyBomb) != 0) keys = static_cast<std::uint8_t>(keys & ~tz::KeyBomb);
    return keys;
}

}  // namespace app
