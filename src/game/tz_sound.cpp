#include "game/tz_sound.h"

#include "audio/audio_output.h"
#include "audio/music.h"
#include "audio/se.h"
#include "core/data_path.h"
#include "game/tz_globals.h"

namespace tz {

void OpenSoundOutput(plat::Platform& platform) {
    if (EnableSE || EnableBGM) audio::OpenAudio(platform, audio::TAudioOptions{.Music = EnableBGM});
}

void CloseSoundOutput() { audio::CloseAudio(); }

void HoldSoundOutput(bool on) { audio::HoldAudio(on); }

void SetSound(std::int32_t Index, const std::string& Name, std::int32_t VolumeDb) {
    audio::SetSound(Index, Name, VolumeDb, &DataPath);
}

bool InitSound() {
    audio::SEReverse = ReverseSound;
    return audio::InitSound(audio::AudioMixer());
}

void LoadSounds(std::int32_t Count) {
    audio::TSoundMask mask;
    for (std::int32_t i = 0; i < Count && i < audio::kSoundSlots; ++i) mask.set(static_cast<std::size_t>(i));
    audio::LoadSounds(mask);
}

void ShutdownSound() { audio::ShutdownSound(); }

void PlaySoundEffect(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate) {
    audio::PlaySE(Index, Pan, VolumeStep, Rate);
}

bool PlayBgm(const std::string& Name) { return audio::StartMusic(Name, &DataPath); }

void StopBgm() { audio::StopMusic(); }

bool FollowBgm(const std::string& Name, double PositionMs) { return audio::FollowMusic(Name, &DataPath, PositionMs); }

}  // namespace tz
