#include "audio/wave_format.h"

#include "audio/buffer_controls.h"

namespace audio {

bool TByteReader::ReadByte(std::uint8_t& b) {
    if (pos_ >= bytes_.size()) return false;
    b = bytes_[pos_++];
    return true;
}

bool TByteReader::ReadU16(std::uint16_t& v) {
    if (Remaining() < 2) return false;
    v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
}

bool TByteReader::ReadU32(std::uint32_t& v) {
    if (Remaining() < 4) return false;
    v = static_cast<std::uint32_t>(bytes_[pos_]) | (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8) |
        (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
    pos_ += 4;
    return true;
}

bool TByteReader::Skip(std::size_t n) {
    if (Remaining() < n) return false;
    pos_ += n;
    return true;
}

bool SeekChunk(TByteReader& file, std::string_view tag) {
    if (tag.size() != 4) return false;
    std::uint8_t b = 0;
    if (!file.ReadByte(b)) return false;
    for (;;) {
        while (b != static_cast<std::uint8_t>(tag[0]))
            if (!file.ReadByte(b)) return false;
        std::size_t matched = 1;
        while (matched < 4) {
            if (!file.ReadByte(b)) return false;
            if (b != static_cast<std::uint8_t>(tag[matched])) break;   // b is the next candidate
            ++matched;
        }
        if (matched == 4) return true;
    }
}

namespace {

std::string CheckFormat(const TWaveFormat& f) {
    if (f.FormatTag != kFormatPcm) return "format tag " + std::to_string(f.FormatTag) + " is not PCM";
    if (f.Channels < 1 || f.Channels > 2) return std::to_string(f.Channels) + " channels (1 or 2 are played)";
    if (f.BitsPerSample != 8 && f.BitsPerSample != 16)
        return std::to_string(f.BitsPerSample) + " bits per sample (8 or 16 are played)";
    if (f.SamplesPerSec < kFrequencyMin || f.SamplesPerSec > kFrequencyMax)
        return "sample rate " + std::to_string(f.SamplesPerSec) + " Hz";
    const unsigned expected = f.Channels * (f.BitsPerSample / 8u);
    if (f.BlockAlign != expected)
        return "block size " + std::to_string(f.BlockAlign) + " (" + std::to_string(expected) + " expected)";
    return {};
}

}  // namespace

TWaveParse ParseWave(std::span<const std::uint8_t> file) {
    TWaveParse r;
    TByteReader in(file);
    TWaveFormat& f = r.Format;
    if (!SeekChunk(in, "fmt ")) {
        r.Error = "no fmt chunk";
        return r;
    }
    if (!in.Skip(4) || !in.ReadU16(f.FormatTag) || !in.ReadU16(f.Channels) || !in.ReadU32(f.SamplesPerSec) ||
        !in.ReadU32(f.AvgBytesPerSec) || !in.ReadU16(f.BlockAlign) || !in.ReadU16(f.BitsPerSample)) {
        r.Error = "the file ends inside the fmt chunk";
        return r;
    }
    f.Size = 0;
    if (!SeekChunk(in, "data")) {
        r.Error = "no data chunk";
        return r;
    }
    if (!in.ReadU32(r.DataSize)) {
        r.Error = "the file ends before the data size";
        return r;
    }
    if (r.DataSize > in.Remaining()) {
        r.Error = "the data chunk announces " + std::to_string(r.DataSize) + " bytes, the file holds " +
                  std::to_string(in.Remaining());
        return r;
    }
    r.DataOffset = in.Position();
    r.Error = CheckFormat(f);
    r.Ok = r.Error.empty();
    return r;
}

}  // namespace audio
