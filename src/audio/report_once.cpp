#include "audio/report_once.h"

#include <cstddef>
#include <cstdio>
#include <unordered_set>

namespace audio {
namespace {

// The game has 64 sound slots and a handful of pieces, each with a few possible problems;
// far more distinct messages than this only come from files that change under a running
// program (or from a fuzzer). Past this many the unit stops reporting, so the memory kept
// for "once" stays bounded and a look-up stays quick.
constexpr std::size_t kMaxMessages = 1024;

}  // namespace

bool ReportOnce(const std::string& message) {
    static std::unordered_set<std::string> written;
    static bool full = false;
    if (full || written.contains(message)) return false;
    if (written.size() == kMaxMessages) {
        full = true;
        std::fputs("korrindal: more problems with sound and music files are not reported\n", stderr);
        return false;
    }
    written.insert(message);
    const std::string line = "korrindal: " + message + "\n";
    std::fputs(line.c_str(), stderr);
    return true;
}

}  // namespace audio
