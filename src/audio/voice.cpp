#include "audio/voice.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "audio/sinc_kernel.h"

namespace audio {
namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32;

// Four running sums, so the compiler can keep them in one vector register.
inline float Dot(const float* k, const float* s) {
    float a0 = 0.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
    for (int j = 0; j < kKernelTaps; j += 4) {
        a0 += k[j] * s[j];
        a1 += k[j + 1] * s[j + 1];
        a2 += k[j + 2] * s[j + 2];
        a3 += k[j + 3] * s[j + 3];
    }
    return (a0 + a1) + (a2 + a3);
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

void TVoice::MixInto(float* left, float* right, int frames, int outputRate) {
    if (!playing_ || data_ == nullptr || frames <= 0 || outputRate <= 0) return;
    const std::uint64_t step = (static_cast<std::uint64_t>(Frequency()) << 32) / static_cast<std::uint64_t>(outputRate);
    if (step <= kOne)
        MixNear(left, right, frames, step);
    else
        MixStretched(left, right, frames, step);
}

// At or below the output rate: the kernel at the source rate, one table row pair per frame.
void TVoice::MixNear(float* left, float* right, int frames, std::uint64_t step) {
    const TSincKernel& kernel = SincKernel();
    const std::int64_t end = data_->Frames + kKernelHalfWidth;   // the last frame's ring-out
    const float* p0 = data_->Plane(0);
    const float* p1 = data_->Plane(data_->Channels > 1 ? 1 : 0);
    const bool stereo = data_->Channels > 1;
    const float gl = gain_.left, gr = gain_.right;
    std::uint64_t pos = position_;
    std::array<float, kKernelTaps> k{};
    for (int n = 0; n < frames; ++n) {
        const auto whole = static_cast<std::int64_t>(pos >> 32);
        if (whole >= end) {
            playing_ = false;
            break;
        }
        const auto frac = static_cast<std::uint32_t>(pos);
        const std::uint32_t row = frac >> (32 - kPhaseBits);
        const float t = static_cast<float>(frac & ((1u << (32 - kPhaseBits)) - 1)) *
                        (1.0f / static_cast<float>(1u << (32 - kPhaseBits)));
        const float* a = kernel.Rows[row].data();
        const float* b = kernel.Rows[row + 1].data();
        for (int j = 0; j < kKernelTaps; ++j) k[static_cast<std::size_t>(j)] = a[j] + t * (b[j] - a[j]);
        const std::int64_t first = whole - (kKernelHalfWidth - 1);
        const float s0 = Dot(k.data(), p0 + first);
        const float s1 = stereo ? Dot(k.data(), p1 + first) : s0;
        left[n] += s0 * gl;
        right[n] += s1 * gr;
        pos += step;
    }
    position_ = pos;
}

// Above the output rate: the kernel stretched by the rate ratio, so it also cuts at the
// output's band edge; weights come from the curve and are normalised frame by frame.
void TVoice::MixStretched(float* left, float* right, int frames, std::uint64_t step) {
    const TSincKernel& kernel = SincKernel();
    const double ratio = static_cast<double>(step) / static_cast<double>(kOne);
    const float scale = static_cast<float>(1.0 / ratio);
    // Frames the kernel reaches either side; reads go up to twice that past the end, which
    // the padding covers (at the highest rate and 48 kHz the reach is 50).
    const int reach = std::min(static_cast<int>(std::ceil(kKernelHalfWidth * ratio)), kSoundPad / 2 - 1);
    const std::int64_t end = data_->Frames + reach;
    const float* p0 = data_->Plane(0);
    const float* p1 = data_->Plane(data_->Channels > 1 ? 1 : 0);
    const bool stereo = data_->Channels > 1;
    const float gl = gain_.left, gr = gain_.right;
    std::uint64_t pos = position_;
    for (int n = 0; n < frames; ++n) {
        const auto whole = static_cast<std::int64_t>(pos >> 32);
        if (whole >= end) {
            playing_ = false;
            break;
        }
        const float frac = static_cast<float>(static_cast<std::uint32_t>(pos)) * (1.0f / 4294967296.0f);
        float sum = 0.0f, s0 = 0.0f, s1 = 0.0f;
        for (int m = -reach; m <= reach; ++m) {
            const float w = kernel.At((static_cast<float>(m) - frac) * scale);
            sum += w;
            s0 += w * p0[whole + m];
            s1 += w * p1[whole + m];
        }
        const float norm = sum != 0.0f ? 1.0f / sum : 0.0f;
        s0 *= norm;
        s1 = stereo ? s1 * norm : s0;
        left[n] += s0 * gl;
        right[n] += s1 * gr;
        pos += step;
    }
    position_ = pos;
}

}  // namespace audio
