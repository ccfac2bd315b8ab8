// The score compiler: korrindal_mml SCORE.mml OUT.mid [--report]
// --report prints each track's length and note count and the piece's duration.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "mml.h"
#include "smf_writer.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: korrindal_mml SCORE.mml OUT.mid [--report]\n");
    return 2;
  }
  const std::string in_name = argv[1];
  const bool report = argc > 3 && std::string(argv[3]) == "--report";
  std::ifstream in(in_name, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "korrindal_mml: cannot open %s\n", in_name.c_str());
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    const mml::Score score = mml::compile(text.str(), in_name);
    mml::write_smf(argv[2], score);
    if (report) {
      const int bar = score.meter_numerator * 4 * score.division / score.meter_denominator;
      std::printf("%s: %.1f s, %u ticks (%.2f bars)\n", score.title.c_str(), score.seconds_at(score.length()),
                  score.length(), static_cast<double>(score.length()) / bar);
      for (const mml::Track& t : score.tracks)
        std::printf("  %-8s ch %2d  %5zu notes  %7.2f bars\n", t.name.c_str(), t.channel + 1, t.notes.size(),
                    static_cast<double>(t.length) / bar);
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
