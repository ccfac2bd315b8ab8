// The SDL audio device: SDL's thread calls back for every buffer of 512 frames and the
// source renders straight into SDL's buffer. SDL converts to whatever the hardware takes
// (no changes to the format are allowed, so the source always sees 48 kHz stereo float).

#include <SDL.h>

#include <cstdio>

#include "diagnostics/memcheck.h"
#include "platform/audio_device.h"

namespace plat {
namespace {

class SdlAudioDevice final : public AudioDevice {
public:
    explicit SdlAudioDevice(AudioSource& source) : source_(source) {}

    ~SdlAudioDevice() override {
        const memcheck::ForeignScope driverCalls;  // sound-server libraries are not ours
        if (device_ != 0) SDL_CloseAudioDevice(device_);   // waits for a running callback
        if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    bool open() {
        const memcheck::ForeignScope driverCalls;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "korrindal: no audio (%s): the game runs silent\n", SDL_GetError());
            return false;
        }
        subsystem_ = true;
        SDL_AudioSpec want{};
        want.freq = kAudioRate;
        want.format = AUDIO_F32SYS;
        want.channels = kAudioChannels;
        want.samples = kAudioDeviceFrames;
        want.callback = &SdlAudioDevice::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) {
            std::fprintf(stderr, "korrindal: no audio device (%s): the game runs silent\n", SDL_GetError());
            return false;
        }
        frames_ = have.samples;
        if (const char* driver = SDL_GetCurrentAudioDriver()) name_ = driver;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    bool realTime() const override { return true; }
    bool pull(float*, int) override { return false; }
    int bufferFrames() const override { return frames_; }
    std::string name() const override { return name_; }
    void hold(bool on) override {
        const memcheck::ForeignScope driverCalls;
        if (device_ != 0) SDL_PauseAudioDevice(device_, on ? 1 : 0);
    }

private:
    static void SDLCALL callback(void* user, Uint8* stream, int bytes) {
        auto* self = static_cast<SdlAudioDevice*>(user);
        const int frames = bytes / static_cast<int>(sizeof(float) * kAudioChannels);
        // The stream is SDL's own float buffer of the format asked for, suitably aligned.
        self->source_.render(reinterpret_cast<float*>(stream), frames);
    }

    AudioSource& source_;
    SDL_AudioDeviceID device_ = 0;
    bool subsystem_ = false;
    int frames_ = 0;
    std::string name_ = "sdl";
};

}  // namespace

std::unique_ptr<AudioDevice> openSdlAudio(AudioSource& source) {
    auto device = std::make_unique<SdlAudioDevice>(source);
    if (!device->open()) return nullptr;
    return device;
}

}  // namespace plat
