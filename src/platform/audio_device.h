#pragma once
// The sound output. A source renders mixed frames; a device pulls them, either on a thread
// of its own at the real rate (the SDL device) or when its owner asks (offline rendering,
// which writes the game's sound in step with the ticks). Frames are interleaved stereo
// floats, left first, at kAudioRate. No SDL here.

#include <memory>
#include <string>

namespace plat {

inline constexpr int kAudioRate = 48000;
inline constexpr int kAudioChannels = 2;
// Frames per device buffer. At 48 kHz 512 frames last 10.7 ms: a sound asked for just after
// a buffer was filled is heard about one buffer later.
inline constexpr int kAudioDeviceFrames = 512;

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Writes frames interleaved stereo frames to out (2 * frames floats). Called on the
    // device's thread: it must neither block nor allocate.
    virtual void render(float* out, int frames) noexcept = 0;
};

class AudioDevice {
public:
    // Stops pulling: once the destructor returns, the source is not called any more.
    virtual ~AudioDevice() = default;
    // True when the device pulls frames by itself at the real rate.
    virtual bool realTime() const = 0;
    // Offline devices: renders frames from the source on the caller's thread. A real-time
    // device refuses (false) and leaves out alone.
    virtual bool pull(float* out, int frames) = 0;
    // Frames the device asks for at a time (0 when it does not pull by itself).
    virtual int bufferFrames() const = 0;
    virtual std::string name() const = 0;
    // Holds the sound where it is (the game paused by the player) or lets it go on. A device
    // that does not pull by itself has nothing to hold.
    virtual void hold(bool on) { (void)on; }
};

// The default SDL output at 48 kHz stereo with kAudioDeviceFrames per buffer, pulling from
// source at once. nullptr (the reason on stderr) when there is no device: the game then
// runs silent. SDL_AUDIODRIVER chooses the driver as usual (dummy and disk work headless).
std::unique_ptr<AudioDevice> openSdlAudio(AudioSource& source);

// A device nobody but its owner pulls, for rendering the sound into a file.
std::unique_ptr<AudioDevice> makeOfflineAudio(AudioSource& source);

}  // namespace plat
