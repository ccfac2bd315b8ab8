#include "game/tz_draw.h"

namespace tz {

// Drawing of the play field comes with its own routines; until then objects are not drawn.
void DrawCharacter(TCharacter& ownObject) { (void)ownObject; }

}  // namespace tz
