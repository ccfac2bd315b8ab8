#include "audio/audio_output.h"

#include <memory>

#include "audio/music.h"
#include "audio/report_once.h"
#include "audio/se.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "platform/soundfont.h"

namespace audio {
namespace {

// Destroyed device first (nothing pulls any more), then the synthesizer, then the mixer.
struct TOutput {
    std::unique_ptr<TMixer> Mixer;
    std::unique_ptr<plat::MidiSynth> Synth;
    std::unique_ptr<plat::AudioDevice> Device;
    ~TOutput() { Device.reset(); }
};

std::unique_ptr<TOutput> Output;

std::unique_ptr<plat::MidiSynth> MakeSynth() {
    const std::string soundFont = plat::findSoundFont();
    if (soundFont.empty()) {
        ReportOnce("no General MIDI soundfont found (install fluid-soundfont-gm or timgm6mb-soundfont, or name one "
                   "in " + std::string(plat::kSoundFontVariable) + "): the game plays without music");
        return nullptr;
    }
    std::string error;
    auto synth = plat::MidiSynth::create(soundFont, plat::kAudioRate, error);
    if (!synth) ReportOnce("music: " + error + "; the game plays without music");
    return synth;
}

}  // namespace

bool OpenAudio(plat::Platform& platform, const TAudioOptions& options) {
    CloseAudio();
    auto output = std::make_unique<TOutput>();
    output->Mixer = std::make_unique<TMixer>();
    output->Device = platform.openAudio(*output->Mixer);
    if (!output->Device) return false;
    if (options.Music) {
        output->Synth = MakeSynth();
        if (output->Synth) output->Mixer->SetMusic(output->Synth.get());
    }
    Output = std::move(output);
    return true;
}

void HoldAudio(bool on) {
    if (Output && Output->Device) Output->Device->hold(on);
}

void CloseAudio() {
    if (!Output) return;
    ShutdownSound();
    StopMusic();
    Output.reset();
}

TMixer* AudioMixer() { return Output ? Output->Mixer.get() : nullptr; }

plat::MidiSynth* AudioSynth() { return Output ? Output->Synth.get() : nullptr; }

bool PullAudio(float* out, int frames) { return Output && Output->Device->pull(out, frames); }

}  // namespace audio
