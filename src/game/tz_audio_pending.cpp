// PENDING: see tz_audio_pending.h.
#include "game/tz_audio_pending.h"

namespace tz {

std::int32_t PlaySECount = 0;

void SetSound(std::int32_t, const std::string&, std::int32_t) {}
bool InitSound() { return true; }
void LoadSounds(std::int32_t) {}
void ShutdownSound() {}
void PlaySoundEffect(std::int32_t, std::int32_t, std::int32_t, std::int32_t) { ++PlaySECount; }

}  // namespace tz
