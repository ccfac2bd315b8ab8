// The offline device: nothing runs on its own; the owner pulls frames when it wants them
// (the headless runner, once per tick, for --audio-out).

#include "platform/audio_device.h"

namespace plat {
namespace {

class OfflineAudioDevice final : public AudioDevice {
public:
    explicit OfflineAudioDevice(AudioSource& source) : source_(source) {}
    bool realTime() const override { return false; }
    bool pull(float* out, int frames) override {
        if (frames > 0) source_.render(out, frames);
        return true;
    }
    int bufferFrames() const override { return 0; }
    std::string name() const override { return "offline"; }

private:
    AudioSource& source_;
};

}  // namespace

std::unique_ptr<AudioDevice> makeOfflineAudio(AudioSource& source) {
    return std::make_unique<OfflineAudioDevice>(source);
}

}  // namespace plat
