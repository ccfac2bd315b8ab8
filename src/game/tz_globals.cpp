#include "game/tz_globals.h"

namespace tz {

std::int32_t RefreshCount = 0;

bool FullScreen = true;
bool UseVram = true;
bool ReverseSound = false;
bool EnableBGM = true;
bool EnableSE = true;
bool SmoothMotion = true;
std::int32_t StartFrom = 0;

}  // namespace tz
