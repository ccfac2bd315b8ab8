#pragma once
// The game's sound: the sound-effect unit and the music player of src/audio, reached with
// the game's data-file rule (DataPath) and its options.

#include <cstdint>
#include <string>

namespace plat {
class Platform;
}

namespace tz {

// The sound output of the game window: opened when the engine starts, if effects or music
// are enabled (the game runs silent where the platform has no device), closed when it
// terminates.
void OpenSoundOutput(plat::Platform& platform);
void CloseSoundOutput();
// Holds the effects and the music where they are while the player has paused the game.
void HoldSoundOutput(bool on);

// Sound effects.
// Registers slot Index: its file is Name's .wav by the data-file rule; base volume in dB.
void SetSound(std::int32_t Index, const std::string& Name, std::int32_t VolumeDb);
bool InitSound();                      // takes the ReverseSound option along
void LoadSounds(std::int32_t Count);   // slots 0 .. Count - 1
void ShutdownSound();
// Starts a registered effect now (the game reaches it through its outlet, tz_outlet.h).
void PlaySoundEffect(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate);

// The music player: stops what plays, opens Name's .mid and plays it; true when it plays.
bool PlayBgm(const std::string& Name);
void StopBgm();
// Brings the player to Name's piece at PositionMs from its start (see audio::FollowMusic).
bool FollowBgm(const std::string& Name, double PositionMs);

}  // namespace tz
