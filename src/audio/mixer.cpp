#include "audio/mixer.h"

#include <algorithm>

#include "audio/sinc_kernel.h"

namespace audio {

TMixer::TMixer(int voices, int outputRate)
    : outputRate_(outputRate), voices_(static_cast<std::size_t>(std::clamp(voices, 0, 0xFFFE))), limiter_(outputRate) {
    SincKernel();   // built here, never on the audio thread
}

TVoice* TMixer::Find(TVoiceHandle handle) {
    if (!handle.Valid() || handle.Index >= voices_.size()) return nullptr;
    TSlot& slot = voices_[handle.Index];
    return slot.InUse && slot.Generation == handle.Generation ? &slot.Voice : nullptr;
}

TVoiceHandle TMixer::Take(const TSoundData& data) {
    for (std::size_t i = 0; i < voices_.size(); ++i) {
        TSlot& slot = voices_[i];
        if (slot.InUse) continue;
        slot.InUse = true;
        slot.Generation = static_cast<std::uint16_t>(slot.Generation + 1);
        slot.Voice.Bind(&data);
        return {static_cast<std::uint16_t>(i), slot.Generation};
    }
    return {};
}

TVoiceHandle TMixer::CreateBuffer(const TSoundData& data) {
    std::lock_guard lock(mutex_);
    DrainRequests();
    return Take(data);
}

TVoiceHandle TMixer::DuplicateBuffer(TVoiceHandle original) {
    std::lock_guard lock(mutex_);
    DrainRequests();
    const TVoice* source = Find(original);
    if (source == nullptr || source->Data() == nullptr) return {};
    return Take(*source->Data());
}

void TMixer::ReleaseBuffer(TVoiceHandle voice) {
    std::lock_guard lock(mutex_);
    DrainRequests();
    if (TVoice* v = Find(voice)) {
        v->Bind(nullptr);
        voices_[voice.Index].InUse = false;
    }
}

void TMixer::SilenceBuffers(std::span<const TVoiceHandle> voices) {
    std::lock_guard lock(mutex_);
    DrainRequests();
    for (TVoiceHandle h : voices) {
        if (TVoice* v = Find(h)) {
            v->Stop();
            v->SetCurrentPosition(0);
            v->SetVolume(kVolumeMin);
        }
    }
}

void TMixer::SetMusic(plat::AudioSource* music) {
    std::lock_guard lock(mutex_);
    music_ = music;
}

bool TMixer::PostRestart(TVoiceHandle voice, std::int64_t pan, std::int64_t volume, std::int64_t hz) noexcept {
    if (requests_.Push(TRequest{voice, pan, volume, hz})) return true;
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
}

void TMixer::DrainRequests() {
    TRequest r;
    while (requests_.Pop(r)) {
        TVoice* v = Find(r.Voice);
        if (v == nullptr) continue;   // released since it was asked for
        v->Stop();
        v->SetCurrentPosition(0);
        v->SetPan(r.Pan);
        v->SetVolume(r.Volume);
        v->SetFrequency(r.Frequency);
        v->Play();
        restarts_.fetch_add(1, std::memory_order_relaxed);
    }
}

void TMixer::MixBlock(float* out, int frames) {
    std::fill_n(left_.begin(), frames, 0.0f);
    std::fill_n(right_.begin(), frames, 0.0f);
    for (TSlot& slot : voices_)
        if (slot.InUse && slot.Voice.Playing()) slot.Voice.MixInto(left_.data(), right_.data(), frames, outputRate_);
    if (music_ != nullptr) {
        music_->render(musicFrames_.data(), frames);
        for (int n = 0; n < frames; ++n) {
            left_[static_cast<std::size_t>(n)] += kMusicGain * musicFrames_[2 * static_cast<std::size_t>(n)];
            right_[static_cast<std::size_t>(n)] += kMusicGain * musicFrames_[2 * static_cast<std::size_t>(n) + 1];
        }
    }
    limiter_.Process(left_.data(), right_.data(), frames);
    for (int n = 0; n < frames; ++n) {
        out[2 * n] = left_[static_cast<std::size_t>(n)];
        out[2 * n + 1] = right_[static_cast<std::size_t>(n)];
    }
}

void TMixer::render(float* out, int frames) noexcept {
    if (frames <= 0) return;
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        // The main thread is loading sounds or changing the music: this block is silent.
        std::fill(out, out + 2 * frames, 0.0f);
        silentBlocks_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    DrainRequests();
    for (int done = 0; done < frames;) {
        const int n = std::min(kMixBlock, frames - done);
        MixBlock(out + 2 * done, n);
        done += n;
    }
    framesRendered_.fetch_add(static_cast<std::uint64_t>(frames), std::memory_order_relaxed);
}

TMixer::TStats TMixer::Stats() const {
    return {framesRendered_.load(std::memory_order_relaxed), restarts_.load(std::memory_order_relaxed),
            dropped_.load(std::memory_order_relaxed), silentBlocks_.load(std::memory_order_relaxed)};
}

}  // namespace audio
