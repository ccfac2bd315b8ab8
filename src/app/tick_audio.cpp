#include "app/tick_audio.h"

#include <algorithm>
#include <array>

#include "audio/audio_output.h"
#include "platform/audio_device.h"

namespace app {
namespace {

constexpr int kMaxTickFrames = plat::kAudioRate;   // a tick at the slowest rate the engine runs

}  // namespace

bool TTickAudio::Open(const std::string& path, std::int64_t periodUs) {
    ticks_ = 0;
    periodUs_ = std::clamp<std::int64_t>(periodUs, 1, 1'000'000);
    open_ = writer_.Open(path, plat::kAudioRate);
    return open_;
}

void TTickAudio::AfterTick() {
    if (!open_) return;
    const std::int64_t rate = plat::kAudioRate;
    // Frames up to the end of this tick minus frames up to its start: 672 at 48 kHz and 14 ms.
    const auto frames =
        static_cast<int>(rate * (ticks_ + 1) * periodUs_ / 1'000'000 - rate * ticks_ * periodUs_ / 1'000'000);
    ++ticks_;
    static std::array<float, 2 * kMaxTickFrames> buffer;
    const int n = std::min(frames, kMaxTickFrames);
    if (!audio::PullAudio(buffer.data(), n)) std::fill_n(buffer.begin(), 2 * n, 0.0f);
    writer_.Write(buffer.data(), n);
}

bool TTickAudio::Close() {
    if (!open_) return true;
    open_ = false;
    return writer_.Close();
}

}  // namespace app
