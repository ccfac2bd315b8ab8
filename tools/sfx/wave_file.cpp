#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace sfx {

namespace {

class Bytes {
 public:
  void u16(std::uint32_t v) {
    out_.push_back(static_cast<std::uint8_t>(v));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void tag(const char (&t)[5]) { out_.insert(out_.end(), t, t + 4); }
  void text(const std::string& s) { out_.insert(out_.end(), s.begin(), s.end()); }
  void pad() {
    if (out_.size() % 2) out_.push_back(0);
  }
  std::size_t size() const { return out_.size(); }
  std::vector<std::uint8_t>& data() { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

// One INFO entry: tag, size, the text with its terminating zero, padded to an even size.
void info_entry(Bytes& b, const char (&tag)[5], const std::string& s) {
  b.tag(tag);
  b.u32(static_cast<std::uint32_t>(s.size() + 1));
  b.text(s);
  b.u16(0);
  if ((s.size() + 1) % 2 == 0) b.data().pop_back();
}

// Loaders that find chunks by scanning for their tags would stop at a tag inside the text.
void check_text(const std::string& s) {
  for (const char* tag : {"data", "fmt ", "RIFF", "WAVE"})
    if (s.find(tag) != std::string::npos)
      throw std::invalid_argument("wave text must not contain the chunk tag '" + std::string(tag) + "': " + s);
}

}  // namespace

std::vector<std::uint8_t> encode_wave(std::span<const double> samples, const WaveOptions& o) {
  check_text(o.title);
  check_text(o.comment);
  Bytes b;
  b.tag("RIFF");
  b.u32(0);  // patched below
  b.tag("WAVE");
  b.tag("fmt ");
  b.u32(o.fmt_extended ? 18 : 16);
  b.u16(1);  // PCM
  b.u16(static_cast<std::uint32_t>(o.channels));
  b.u32(static_cast<std::uint32_t>(o.sample_rate));
  b.u32(static_cast<std::uint32_t>(o.sample_rate * o.channels * 2));
  b.u16(static_cast<std::uint32_t>(o.channels * 2));
  b.u16(16);
  if (o.fmt_extended) b.u16(0);
  if (!o.title.empty() || !o.comment.empty()) {
    b.tag("LIST");
    const std::size_t size_at = b.size();
    b.u32(0);
    b.tag("INFO");
    if (!o.title.empty()) info_entry(b, "INAM", o.title);
    if (!o.comment.empty()) info_entry(b, "ICMT", o.comment);
    info_entry(b, "ISFT", "Korrindal sound generator");
    const auto list_size = static_cast<std::uint32_t>(b.size() - size_at - 4);
    for (int i = 0; i < 4; ++i) b.data()[size_at + i] = static_cast<std::uint8_t>(list_size >> (8 * i));
  }
  b.tag("data");
  b.u32(static_cast<std::uint32_t>(samples.size() * 2));
  for (double s : samples) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    b.u16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
  }
  const auto riff_size = static_cast<std::uint32_t>(b.size() - 8);
  for (int i = 0; i < 4; ++i) b.data()[4 + i] = static_cast<std::uint8_t>(riff_size >> (8 * i));
  return std::move(b.data());
}

void write_wave(const std::filesystem::path& file, std::span<const double> samples, const WaveOptions& o) {
  const std::vector<std::uint8_t> bytes = encode_wave(samples, o);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace sfx
