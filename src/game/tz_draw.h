#pragma once
// Drawing the game while it is played: the play field with its objects, effects and enemy
// bullets, and the status (score, time, tally, captions, stock of ships and bombs).
//
// Drawing reads the game state and never writes it; the random numbers it needs (quake
// jitter, lightning, sparks) come from the drawing generator DrawRandom. Each routine sets the
// draw mode it needs through a pen (engine/pen.h) and leaves the engine's pen as it found it;
// a frame (DrawPlayField, the title, the credits) sets its offsets and clip rectangle too, so
// nothing depends on what earlier drawing left behind. DrawCharacter, DrawEffects,
// DrawEnemyShots, DrawScore and DrawTime draw with the offsets and clip rectangle of their
// caller's pen. Without a game window nothing is drawn.

#include <cstdint>

#include "engine/geometry.h"
#include "engine/pattern_table.h"
#include "game/tz_types.h"

namespace engine {
class TPen;
}

namespace tz {

// One frame of scenes 4 to 7.
void DrawPlayField();
// Over a drawn play field while the player has paused the game: the field dimmed and "PAUSE"
// across its middle.
void DrawPauseCaption();
// The draw procedure installed as OnDraw of the ship, its shots, enemies and items.
void DrawCharacter(TCharacter& ownObject);
// Every active effect and every active enemy bullet, from their tables.
void DrawEffects();
void DrawEnemyShots();
// Value in 9 places with blank leading zeros, the digits 14 px apart from X + 14.
void DrawScore(std::int32_t X, std::int32_t Y, std::int32_t Value);
// Ticks as minutes, seconds and hundredths ("mm ss cc"), the characters 14 px apart.
void DrawTime(std::int32_t X, std::int32_t Y, std::int32_t Ticks);

// The camera and quake step of DrawPlayField: sets the pen's offsets for the objects, and on
// odd frames of a quake jitters them, flashes the play field black every tenth tick and
// throws two lightning bolts from the ship (drawn with the jittered offsets).
void SetPlayFieldOffsets(engine::TPen& pen);

// The part of an ending caption shown while it opens: the columns of pattern P within Reveal
// pixels of its hot spot, drawn with the hot spot at (X, Y). Kept inside the pattern's own
// rectangle in its bank and inside a ScreenW x ScreenH screen on every side; false when
// nothing of it is left.
struct TCaptionReveal {
    engine::TRect Source;
    std::int32_t X = 0, Y = 0;
};
bool CaptionReveal(const engine::TPatternRec& P, std::int32_t Reveal, std::int32_t X, std::int32_t Y,
                   std::int32_t ScreenW, std::int32_t ScreenH, TCaptionReveal& Out);

}  // namespace tz
