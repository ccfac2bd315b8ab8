#pragma once
// Smooth motion: a frame drawn between two ticks shows the moving things where they stood at
// the frame's moment, blended between the tick before the last and the last one. The tick
// takes the "before" copy of the positions as it starts; a refresh writes the blended
// positions into the game's tables, draws, and puts the tick's own values back, all under
// the engine lock: the ticks never see a blended value, so the game and its hash are as
// without it. Something that appeared, vanished, changed slot or kind, or jumped further than
// a tick's motion is drawn where it is.

#include <array>
#include <cstdint>

#include "core/fixed_math.h"
#include "game/tz_star.h"
#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

// The moving things of one tick.
struct TMotionPositions {
    TFixedPoint MapPos{};
    TMyShip MyShip{};
    std::array<TMyShot, MyShotCount> MyShots{};
    std::array<TEnemy, EnemyCount> Enemies{};
    std::array<TEnemyShot, EnemyShotCount> EnemyShots{};
    std::array<TEffect, EffectCount> Effects{};
    std::array<TStar, StarCount> StarField{};
};

struct TSmoothMotion {
    TMotionPositions Before{};   // as the last tick found them
    TMotionPositions Drawn{};    // the tick's own values while a frame is drawn blended
    bool HaveBefore = false;     // Before is the state the last tick started from
    bool Blended = false;        // the tables hold blended values (between Blend and Restore)
};

// Further than this in one tick is a jump (a wrap, a new placement), 16.16.
inline constexpr std::int32_t SmoothJumpLimit = 64 << 16;

// The tick is about to run: its starting positions become Before. Tick thread, engine locked.
void SmoothBeforeTick(TSmoothMotion& m, const TPlayState& play);
// A scene's set-up moved things without a tick: nothing to blend from until the next tick.
inline void SmoothForget(TSmoothMotion& m) { m.HaveBefore = false; }
// Writes the positions at `alpha` (0: the tick before, 1: the last tick) into play, keeping
// the tick's own in m.Drawn. Does nothing (false) without a Before or at alpha >= 1.
bool SmoothBlend(TSmoothMotion& m, TPlayState& play, double alpha);
// Puts the tick's own positions back after the frame is drawn.
void SmoothRestore(TSmoothMotion& m, TPlayState& play);

}  // namespace tz
