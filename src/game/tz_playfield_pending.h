#pragma once
// PENDING: minimal play-field drawing until the play-field renderer exists: DrawPlayField
// draws the backdrop, the stars and the listed objects (no status, tally or captions), and
// DrawEffects draws nothing yet.

namespace tz {

void DrawPlayField();
void DrawEffects();

}  // namespace tz
