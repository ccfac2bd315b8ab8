#include "riff_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sfx_test {

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
void require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

}  // namespace

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  require(static_cast<bool>(in), "cannot open " + file.string());
  return {std::istreambuf_iterator<char>(in), {}};
}

Wave read_wave(const std::filesystem::path& file) {
  const std::vector<std::uint8_t> b = read_bytes(file);
  require(b.size() >= 12, "shorter than a RIFF header");
  require(std::memcmp(b.data(), "RIFF", 4) == 0 && std::memcmp(b.data() + 8, "WAVE", 4) == 0, "not RIFF/WAVE");
  require(u32(b, 4) == b.size() - 8, "RIFF size does not match the file size");
  Wave w;
  std::size_t at = 12;
  bool have_fmt = false, have_data = false;
  while (at < b.size()) {
    require(at + 8 <= b.size(), "a chunk header runs past the end");
    Chunk c{std::string(reinterpret_cast<const char*>(b.data() + at), 4), at + 8, u32(b, at + 4)};
    require(c.offset + c.size <= b.size(), "chunk '" + c.tag + "' runs past the end");
    if (c.tag == "fmt ") {
      require(!have_data, "'fmt ' after 'data'");
      require(c.size == 16 || c.size == 18, "'fmt ' of unexpected size");
      w.fmt_size = c.size;
      w.format_tag = u16(b, c.offset);
      w.channels = u16(b, c.offset + 2);
      w.sample_rate = u32(b, c.offset + 4);
      w.byte_rate = u32(b, c.offset + 8);
      w.block_align = u16(b, c.offset + 12);
      w.bits = u16(b, c.offset + 14);
      if (c.size == 18) require(u16(b, c.offset + 16) == 0, "PCM format extension not empty");
      have_fmt = true;
    } else if (c.tag == "data") {
      require(have_fmt, "'data' before 'fmt '");
      require(w.bits == 16 && w.channels >= 1, "not 16-bit PCM");
      require(c.size % w.block_align == 0, "data not a whole number of frames");
      w.data_offset = c.offset;
      for (std::size_t i = 0; i + 1 < c.size; i += w.block_align)
        w.samples.push_back(static_cast<std::int16_t>(u16(b, c.offset + i)) / 32768.0);
      have_data = true;
    }
    w.chunks.push_back(c);
    at = c.offset + c.size + (c.size & 1);
  }
  require(at == b.size(), "trailing bytes after the last chunk");
  require(have_fmt && have_data, "no 'fmt ' or no 'data' chunk");
  return w;
}

std::size_t naive_tag_scan(const std::vector<std::uint8_t>& b, const char* tag) {
  std::size_t i = 0;
  while (i < b.size()) {
    if (b[i] != static_cast<std::uint8_t>(tag[0])) {
      ++i;
      continue;
    }
    std::size_t k = 1;
    while (k < 4 && i + k < b.size() && b[i + k] == static_cast<std::uint8_t>(tag[k])) ++k;
    if (k == 4) return i + 4;
    i += k;  // the mismatching byte is the next candidate for the first character
  }
  return 0;
}

}  // namespace sfx_test
