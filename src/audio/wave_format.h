#pragma once
// The wave-file reading of the sound-effect unit: the format fields, the byte-wise chunk
// search, and the checks that keep a damaged file from being played or read past its end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace audio {

// The format as the file states it (each field as stored; Size, the extra size, is 0).
struct TWaveFormat {
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint16_t Size = 0;
};

inline constexpr std::uint16_t kFormatPcm = 1;

// A file's bytes read through a cursor that stops at the end: every read either succeeds
// in full or fails and leaves nothing half-read behind.
class TByteReader {
public:
    explicit TByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool ReadByte(std::uint8_t& b);
    bool ReadU16(std::uint16_t& v);   // little-endian
    bool ReadU32(std::uint32_t& v);   // little-endian
    bool Skip(std::size_t n);
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_.size() - pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Reads byte by byte until the four characters of tag have come in a row; a byte that
// breaks a partial match is taken as the next candidate for tag's first character. True
// with the reader just after the match; false at the end of the file.
bool SeekChunk(TByteReader& file, std::string_view tag);

// Where a wave file's sound is: the format and the data chunk's bytes.
struct TWaveParse {
    bool Ok = false;
    TWaveFormat Format{};
    std::size_t DataOffset = 0;
    std::uint32_t DataSize = 0;   // the size the data chunk announces
    std::string Error;            // why the file cannot be played
};

// Finds "fmt " and reads its six fields, then finds "data" from there (so extra bytes of
// the fmt chunk, and chunks between, are passed over) and reads its size. The RIFF header,
// other chunks and the fmt chunk's size are not examined. Refused: a file that ends before
// either chunk or the data size, a data size beyond the file, and anything but 8- or
// 16-bit PCM with one or two channels, a rate within the buffers' range and a matching
// block size.
TWaveParse ParseWave(std::span<const std::uint8_t> file);

}  // namespace audio
