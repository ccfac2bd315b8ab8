#pragma once
// --verify: each replay file re-simulated headless and checked against what it records (its
// score, its check value and, when it has one, its proof record).

#include <cstdint>
#include <string>

#include "app/options.h"

namespace app {

struct VerifyReport {
    std::string file;
    bool ok = false;
    std::int32_t score = 0;          // re-simulated, at the last recorded tick
    std::int32_t recordedScore = 0;  // the header's
    std::int32_t ticks = 0;          // recorded ticks
    std::uint64_t state = 0;         // the hash after the last recorded tick, re-simulated
    bool checkOk = false;            // the check value matches the header's score
    bool hasProof = false;
    std::int32_t version = 0;        // the proof record's logic version
    std::int32_t firstBadTick = -1;  // the end of the first interval whose hash differs
    std::string differsIn;           // the first part of the state that differs there
    std::string reason;              // why not ok: truncated, score edited, bytes changed, ...
    std::string detail;
};

VerifyReport VerifyReplay(const std::string& file, const ProgramOptions& options);
std::string VerifyJson(const VerifyReport& r);

// Prints one line per file of options.verify; 0 when every one is ok, else 1.
int RunVerify(const ProgramOptions& options);

}  // namespace app
