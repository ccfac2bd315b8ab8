#include "audio/wave_writer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace audio {
namespace {

constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBits = 16;
constexpr long kHeaderBytes = 44;

void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::array<std::uint8_t, kHeaderBytes> Header(std::uint32_t rate, std::uint32_t dataBytes) {
    std::array<std::uint8_t, kHeaderBytes> h{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                             'f', 'm', 't', ' ', 16, 0, 0, 0};
    Put32(&h[4], 36 + dataBytes);
    Put16(&h[20], 1);   // PCM
    Put16(&h[22], kChannels);
    Put32(&h[24], rate);
    Put32(&h[28], rate * kChannels * (kBits / 8));
    Put16(&h[32], kChannels * (kBits / 8));
    Put16(&h[34], kBits);
    h[36] = 'd';
    h[37] = 'a';
    h[38] = 't';
    h[39] = 'a';
    Put32(&h[40], dataBytes);
    return h;
}

}  // namespace

TWaveWriter::~TWaveWriter() { Close(); }

bool TWaveWriter::Open(const std::string& path, std::uint32_t rate) {
    Close();
    file_ = std::fopen(path.c_str(), "wb");
    frames_ = 0;
    clipped_ = 0;
    failed_ = file_ == nullptr;
    if (file_ == nullptr) return false;
    const auto h = Header(rate, 0);
    if (std::fwrite(h.data(), 1, h.size(), file_) != h.size()) failed_ = true;
    rate_ = rate;   // for the header written again on closing
    return !failed_;
}

void TWaveWriter::Write(const float* interleaved, int frames) {
    if (file_ == nullptr || frames <= 0) return;
    std::array<std::uint8_t, 2 * 2 * 256> bytes{};
    for (int done = 0; done < frames;) {
        const int n = std::min(256, frames - done);
        for (int i = 0; i < 2 * n; ++i) {
            float v = interleaved[2 * done + i];
            if (v > 1.0f || v < -1.0f) {
                ++clipped_;
                v = v > 0.0f ? 1.0f : -1.0f;
            }
            const auto s = static_cast<std::int16_t>(std::lrint(v * 32767.0f));
            Put16(&bytes[2 * static_cast<std::size_t>(i)], static_cast<std::uint16_t>(s));
        }
        const std::size_t count = 4 * static_cast<std::size_t>(n);
        if (std::fwrite(bytes.data(), 1, count, file_) != count) failed_ = true;
        done += n;
    }
    frames_ += static_cast<std::uint64_t>(frames);
}

bool TWaveWriter::Close() {
    if (file_ == nullptr) return !failed_;
    const std::uint64_t dataBytes = frames_ * kChannels * (kBits / 8);
    if (dataBytes > 0xFFFFFFFFull - 36) failed_ = true;   // beyond what a wave header can say
    const auto h = Header(rate_, static_cast<std::uint32_t>(dataBytes));
    if (std::fseek(file_, 0, SEEK_SET) != 0 || std::fwrite(h.data(), 1, h.size(), file_) != h.size()) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace audio
