#pragma once
// The sound-effect unit: 64 numbered slots, each naming a wave file and, once loaded,
// holding the sound in a buffer plus a duplicate, so that one effect can sound twice at
// once. Game code plays an effect by slot with a stereo position, a volume step and a
// speed; SEReverse mirrors the stereo position for swapped speakers.
//
// Threads: PlaySE runs on the tick thread and never blocks or allocates (it posts to the
// mixer's queue). The other calls run on the main thread while the ticks are paused.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/data_path.h"
#include "audio/mixer.h"
#include "audio/sound_data.h"
#include "audio/wave_format.h"

namespace audio {

inline constexpr int kSoundSlots = 64;
using TSoundMask = std::bitset<kSoundSlots>;
inline const TSoundMask kAllSounds = TSoundMask{}.set();

struct TSoundSlot {
    std::string FileName;           // resolved path of the wave file; empty = no sound
    TWaveFormat Format{};           // as the file states it
    TVoiceHandle Buffer;            // not Valid() when not loaded
    TVoiceHandle Twin;              // the duplicate; not Valid() when it could not be made
    bool UseTwin = false;           // which of the two the next PlaySE uses
    std::int32_t VolumeBase = 0;    // base attenuation in 1/100 dB
    std::unique_ptr<TSoundData> Data;   // the decoded sound both voices play
};

extern std::array<TSoundSlot, kSoundSlots> Sounds;
extern bool SoundReady;
extern bool SEReverse;   // mirror every pan (copied from the ReverseSound option at start)

// Makes the unit ready on mixer (null: the unit stays not ready, every later call is
// ignored). A ready unit is shut down first.
bool InitSound(TMixer* mixer);
// Releases everything, and forgets the slots' file names even when not ready; SoundReady
// becomes false.
void ShutdownSound();
// For Index 0..63 (others ignored): FileName = dataPath(Name, ".wav"), VolumeBase =
// BaseVolume * 100. Loads nothing; works before InitSound.
void SetSound(std::int32_t Index, const std::string& Name, std::int32_t BaseVolume, DataPathFn dataPath);
// Releases every buffer, then loads each slot of Mask with an existing file. A file that
// cannot be played (damaged, truncated, an unplayable format) is reported on stderr once
// and its slot stays silent. True when every slot tried was loaded.
bool LoadSounds(const TSoundMask& Mask);
// Plays slot Index: Pan and Volume in dB (Pan < 0 favours the left channel), Volume added
// to the slot's base, Freq in percent of the file's rate. Nothing when not ready, for an
// index outside 0..63 or a slot without a buffer.
void PlaySE(std::int32_t Index, std::int32_t Pan, std::int32_t Volume, std::int32_t Freq);
// Every buffer stopped, rewound and silenced; the next play of each slot uses its Buffer.
void StopSounds();
// StopSounds, then every buffer released.
void ReleaseSounds();

}  // namespace audio
