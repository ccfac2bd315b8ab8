#pragma once
// A strict reader of 16-bit PCM RIFF/WAVE files for the tests, independent of the game's
// loader and of the generator's writer: it walks every chunk and checks every size.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sfx_test {

struct Chunk {
  std::string tag;
  std::size_t offset = 0;  // of the chunk's data, just after its size
  std::uint32_t size = 0;
};

struct Wave {
  std::vector<Chunk> chunks;  // in file order, after "RIFF" size "WAVE"
  std::uint16_t format_tag = 0, channels = 0, block_align = 0, bits = 0;
  std::uint32_t sample_rate = 0, byte_rate = 0;
  std::uint32_t fmt_size = 0;
  std::size_t data_offset = 0;
  std::vector<double> samples;  // the first channel, -1..1
};

// Throws std::runtime_error naming what is wrong.
Wave read_wave(const std::filesystem::path& file);
std::vector<std::uint8_t> read_bytes(const std::filesystem::path& file);

// Where a loader that scans byte by byte for the tag (restarting at each mismatch) finds
// the first "data" tag: the offset just after it, or 0 if none.
std::size_t naive_tag_scan(const std::vector<std::uint8_t>& bytes, const char* tag);

}  // namespace sfx_test
