#include "audio/voice.h"

#include <array>

#include "audio/sinc_kernel.h"

namespace audio {
namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32;
constexpr int kFracBits = 32 - kPhaseBits;   // the position's bits between two table rows
constexpr std::uint32_t kFracMask = (1u << kFracBits) - 1;
constexpr float kFracScale = 1.0f / static_cast<float>(1u << kFracBits);

// Four running sums in one array, which the compiler keeps in one vector register.
inline float Dot(const float* k, const float* s, int taps) {
    std::array<float, 4> a{};
    for (int j = 0; j < taps; j += 4)
        for (int l = 0; l < 4; ++l) a[static_cast<std::size_t>(l)] += k[j + l] * s[j + l];
    return (a[0] + a[1]) + (a[2] + a[3]);
}

}  // namespace

void TVoice::Bind(const TSoundData* data) {
    data_ = data;
    playing_ = false;
    position_ = 0;
    pan_ = 0;
    volume_ = 0;
    frequency_ = 0;
    gain_ = GainsOf(volume_, pan_);
}

void TVoice::SetPan(std::int64_t pan) {
    if (!PanAccepted(pan)) return;
    pan_ = static_cast<std::int32_t>(pan);
    gain_ = GainsOf(volume_, pan_);
}

void TVoice::SetVolume(std::int64_t volume) {
    if (!VolumeAccepted(volume)) return;
    volume_ = static_cast<std::int32_t>(volume);
    gain_ = GainsOf(volume_, pan_);
}

void TVoice::SetFrequency(std::int64_t hz) {
    if (FrequencyAccepted(hz)) frequency_ = static_cast<std::uint32_t>(hz);
}

std::uint32_t TVoice::Frequency() const {
    if (frequency_ != 0) return frequency_;
    return data_ != nullptr ? data_->Rate : 0;
}

// Each output frame: the two table rows around the position's fraction, interpolated into
// one row of taps, weigh the source frames around it (one row for both channels).
void TVoice::MixInto(float* left, float* right, int frames, int outputRate) {
    if (!playing_ || data_ == nullptr || frames <= 0 || outputRate <= 0) return;
    const std::uint64_t step = (static_cast<std::uint64_t>(Frequency()) << 32) / static_cast<std::uint64_t>(outputRate);
    const TKernelBand& band = SincKernel().BandFor(static_cast<double>(step) / static_cast<double>(kOne));
    const int taps = band.Taps;
    // Past the last frame the kernel still reaches back into the sound: it rings out until
    // its first tap has passed the end. Reads stay within the sound's padding (kSoundPad).
    const std::int64_t end = data_->Frames + band.Reach;
    const float* p0 = data_->Plane(0);
    const float* p1 = data_->Plane(data_->Channels > 1 ? 1 : 0);
    const bool stereo = data_->Channels > 1;
    const float gl = gain_.left, gr = gain_.right;
    std::uint64_t pos = position_;
    std::array<float, kMaxKernelTaps> k{};
    for (int n = 0; n < frames; ++n) {
        const auto whole = static_cast<std::int64_t>(pos >> 32);
        if (whole >= end) {
            playing_ = false;
            break;
        }
        const auto frac = static_cast<std::uint32_t>(pos);
        const std::uint32_t p = frac >> kFracBits;
        const float t = static_cast<float>(frac & kFracMask) * kFracScale;   // between rows p and p + 1
        const float* a = band.Row(p);
        const float* b = band.Row(p + 1);
        for (int j = 0; j < taps; ++j) k[static_cast<std::size_t>(j)] = a[j] + t * (b[j] - a[j]);
        const std::int64_t first = whole - band.Reach + 1;
        const float s0 = Dot(k.data(), p0 + first, taps);
        const float s1 = stereo ? Dot(k.data(), p1 + first, taps) : s0;
        left[n] += s0 * gl;
        right[n] += s1 * gr;
        pos += step;
    }
    position_ = pos;
}

}  // namespace audio
