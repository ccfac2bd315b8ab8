#include "game/tz_check.h"

namespace tz {

// The ship scanning its own neighbours decides nothing: its contacts are decided when the
// enemy, item or bullet side runs its check. The rules of shots, enemies, items and bullets
// come with those objects.
void CheckHit(TCharacter& ownObject, TCharacter& dstObject, std::uint8_t& ContinueFlags) {
    (void)ownObject;
    (void)dstObject;
    (void)ContinueFlags;
}

}  // namespace tz
