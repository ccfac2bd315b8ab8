// The effect generator: renders each recipe named on the command line and writes
// <out>/<recipe name>.wav, refusing any effect whose measurements fall outside the ranges
// its recipe declares.
//   korrindal_sfx --out DIR [--quiet] RECIPE...
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "loudness.h"
#include "recipe.h"
#include "render.h"
#include "wave_file.h"

namespace {

struct Measured {
  double length, peak, loudness;
};

std::string check(const sfx::Recipe& r, const Measured& m) {
  std::string problems;
  auto test = [&](const char* what, double v, const sfx::Range& range) {
    if (!range.contains(v)) {
      char line[160];
      std::snprintf(line, sizeof line, " %s %.3f outside %.3f..%.3f;", what, v, range.lo, range.hi);
      problems += line;
    }
  };
  test("length", m.length, r.expect_length);
  test("peak", m.peak, r.expect_peak);
  test("loudness", m.loudness, r.expect_loudness);
  return problems;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path out_dir;
  bool quiet = false;
  std::vector<std::filesystem::path> recipes;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out_dir = argv[++i];
    } else if (arg == "--quiet") {
      quiet = true;
    } else {
      recipes.emplace_back(arg);
    }
  }
  if (out_dir.empty() || recipes.empty()) {
    std::fprintf(stderr, "usage: korrindal_sfx --out DIR [--quiet] RECIPE...\n");
    return 2;
  }
  try {
    std::filesystem::create_directories(out_dir);
    int failed = 0;
    for (const auto& file : recipes) {
      const sfx::Recipe r = sfx::load_recipe(file);
      const std::vector<double> samples = sfx::render(r);
      const Measured m{static_cast<double>(samples.size()) / r.sample_rate, sfx::peak_db(samples),
                       sfx::loudness_db(samples, r.sample_rate)};
      if (const std::string problems = check(r, m); !problems.empty()) {
        std::fprintf(stderr, "%s:%s\n", file.string().c_str(), problems.c_str());
        ++failed;
        continue;
      }
      sfx::WaveOptions options;
      options.sample_rate = r.sample_rate;
      options.fmt_extended = r.fmt_extended;
      if (!r.info.empty()) {
        options.title = r.name;
        options.comment = r.info;
      }
      sfx::write_wave(out_dir / (r.name + ".wav"), samples, options);
      if (!quiet)
        std::printf("%-10s %6.3f s  peak %6.2f dB  loudness %6.2f dB\n", r.name.c_str(), m.length, m.peak,
                    m.loudness);
    }
    return failed ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korrindal_sfx: %s\n", e.what());
    return 1;
  }
}
