#pragma once
// PENDING: minimal sound-effect and music calls, replaced by the audio unit (SE and the
// music player). They keep the state the game flow relies on (which slots are registered,
// what the player has open and whether it plays) and make no sound.

#include <cstdint>
#include <string>

namespace tz {

// Sound effects.
void SetSound(std::int32_t Index, const std::string& FileName, std::int32_t VolumeDb);
bool InitSound();
void LoadSounds(std::int32_t Count);
void ShutdownSound();
// Starts a registered effect now (the game reaches it through its outlet, tz_outlet.h).
void PlaySoundEffect(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate);
// Effects started since program start (for tests of the calls).
extern std::int32_t PlaySECount;

// The music player (the window's BGM).
class TBgmPlayer {
public:
    void Open(const std::string& FileName) { FFileName = FileName; FOpen = true; }
    void Play() { FPlaying = FOpen; }
    void Stop() { FPlaying = false; }
    void Close() { FOpen = false; FPlaying = false; }
    const std::string& FileName() const { return FFileName; }  // the last piece opened
    bool Playing() const { return FPlaying; }

private:
    std::string FFileName;
    bool FOpen = false;
    bool FPlaying = false;
};

}  // namespace tz
