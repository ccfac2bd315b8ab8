#pragma once
// PENDING: minimal play-field drawing until the play-field renderer exists: the backdrop
// and the stars of DrawPlayField, and DrawEffects, which draws nothing yet.

namespace tz {

void DrawPlayField();
void DrawEffects();

}  // namespace tz
