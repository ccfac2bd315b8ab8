#pragma once
// The mixer: a fixed pool of voices (sound buffers and their duplicates), the music source
// under them, and the soft limiter on the sum, rendered by the audio device's callback.
//
// Threads. The thread that plays effects (the tick) only posts requests into a lock-free
// queue: it never waits for the audio thread and never allocates. The audio thread takes
// the mixer's lock without waiting (a block in which the main thread holds it is rendered
// silent), applies the queued requests in order and mixes. The main thread takes the lock
// to create, duplicate, silence and release buffers and to change the music; it first
// applies the requests still queued, so their order with its own operations is kept.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "audio/request_queue.h"
#include "audio/soft_limiter.h"
#include "audio/sound_data.h"
#include "audio/voice.h"
#include "platform/audio_device.h"

namespace audio {

// A voice of the mixer. The generation tells a voice's uses apart: requests posted for a
// buffer that has since been released are ignored.
struct TVoiceHandle {
    std::uint16_t Index = 0xFFFF;
    std::uint16_t Generation = 0;
    bool Valid() const { return Index != 0xFFFF; }
};

inline constexpr int kDefaultVoices = 128;          // two for each of the 64 slots
inline constexpr std::size_t kRequestCapacity = 512;
inline constexpr int kMixBlock = 512;               // frames mixed at a time
// The music's level in the mix, measured on the FluidR3 GM set the game prefers. FluidSynth
// renders at its own default gain; this puts the first minute of the stage 1 and 2 pieces
// (the loudest: their synth leads are wide stereo presets) at about -26 dBFS RMS, the boss
// piece at -30 and stage 3's at -35, so that the shots and hits of play stand some 4 dB or
// more above the loudest piece and a bomb far above.
inline constexpr float kMusicGain = 0.56f;

class TMixer final : public plat::AudioSource {
public:
    explicit TMixer(int voices = kDefaultVoices, int outputRate = plat::kAudioRate);
    TMixer(const TMixer&) = delete;
    TMixer& operator=(const TMixer&) = delete;

    // ---- Main thread: buffers (each takes the lock) ------------------------------------
    // A free voice holding data, stopped at its start with the controls reset; not Valid()
    // when every voice is taken. data must outlive the buffer.
    TVoiceHandle CreateBuffer(const TSoundData& data);
    // A second free voice on the same sound; not Valid() when none is free or the original
    // is not a buffer.
    TVoiceHandle DuplicateBuffer(TVoiceHandle original);
    // Gives the voice back (its sound is no longer read once this returns).
    void ReleaseBuffer(TVoiceHandle voice);
    // Stops each buffer, rewinds it and sets its volume to silence.
    void SilenceBuffers(std::span<const TVoiceHandle> voices);
    // The music source mixed under the effects (nullptr: none). It renders on the audio
    // thread; change what it plays only inside Exclusive.
    void SetMusic(plat::AudioSource* music);
    // Runs f while the audio thread stays out of the mixer (queued requests applied first).
    template <class F>
    void Exclusive(F&& f) {
        std::lock_guard lock(mutex_);
        DrainRequests();
        f();
    }

    // ---- The thread that plays effects: lock-free --------------------------------------
    // Asks for, in this order, on the voice: Stop, SetCurrentPosition(0), SetPan(pan),
    // SetVolume(volume), SetFrequency(hz), Play (pan and volume in 1/100 dB; a value out of
    // its range leaves that control as it was). False when the queue is full (dropped).
    bool PostRestart(TVoiceHandle voice, std::int64_t pan, std::int64_t volume, std::int64_t hz) noexcept;

    // ---- The audio thread ---------------------------------------------------------------
    void render(float* out, int frames) noexcept override;

    // Counters for tests and diagnostics (any thread).
    struct TStats {
        std::uint64_t FramesRendered = 0;
        std::uint64_t Restarts = 0;        // requests applied
        std::uint64_t Dropped = 0;         // requests refused by a full queue
        std::uint64_t SilentBlocks = 0;    // callbacks that found the main thread in the mixer
    };
    TStats Stats() const;
    int VoiceCount() const { return static_cast<int>(voices_.size()); }
    int OutputRate() const { return outputRate_; }

private:
    struct TRequest {
        TVoiceHandle Voice;
        std::int64_t Pan = 0;
        std::int64_t Volume = 0;
        std::int64_t Frequency = 0;
    };
    struct TSlot {
        TVoice Voice;
        std::uint16_t Generation = 0;
        bool InUse = false;
    };

    void DrainRequests();
    TVoice* Find(TVoiceHandle handle);
    TVoiceHandle Take(const TSoundData& data);
    void MixBlock(float* out, int frames);

    const int outputRate_;
    std::mutex mutex_;
    std::vector<TSlot> voices_;
    plat::AudioSource* music_ = nullptr;
    TSoftLimiter limiter_;
    TRequestQueue<TRequest, kRequestCapacity> requests_;
    std::array<float, kMixBlock> left_{};
    std::array<float, kMixBlock> right_{};
    std::array<float, 2 * kMixBlock> musicFrames_{};
    std::atomic<std::uint64_t> framesRendered_{0};
    std::atomic<std::uint64_t> restarts_{0};
    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<std::uint64_t> silentBlocks_{0};
};

}  // namespace audio
