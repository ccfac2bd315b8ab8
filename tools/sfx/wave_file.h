#pragma once
// Writes 16-bit PCM RIFF/WAVE files: "fmt " (16 bytes, or 18 with an empty extension), an
// optional "LIST"/"INFO" chunk with the sound's name and a comment, then "data".
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace sfx {

struct WaveOptions {
  int sample_rate = 44100;
  int channels = 1;
  bool fmt_extended = false;
  std::string title;    // INAM of the INFO list; the list is written when title or comment is set
  std::string comment;  // ICMT
};

// Samples in -1..1 (interleaved when there are several channels), rounded to 16 bits.
std::vector<std::uint8_t> encode_wave(std::span<const double> samples, const WaveOptions& options);
void write_wave(const std::filesystem::path& file, std::span<const double> samples,
                const WaveOptions& options);

}  // namespace sfx
