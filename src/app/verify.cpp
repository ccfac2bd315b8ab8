#include "app/verify.h"

#include <cstdio>
#include <memory>

#include "app/runner.h"
#include "game/logic_version.h"
#include "game/replay_proof.h"
#include "game/state_hash.h"
#include "game/tz_globals.h"
#include "game/tz_replay.h"
#include "game/tz_state.h"
#include "platform/platform.h"

namespace app {
namespace {

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(c));
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The replay played back from a fresh state until the title is back, or a while after its
// last byte when it was saved in mid-play. The proof tape holds what its ticks left.
bool Resimulate(const std::string& file, std::int32_t length, const ProgramOptions& options, std::string& error) {
    tz::GameState = tz::TGameState{};
    tz::ProofTape = tz::TProofTape{};
    ProgramOptions run;
    run.headless = true;
    run.noDraw = true;
    run.noMusic = true;
    run.noSoundEffects = true;
    run.home = options.home;
    run.replay = file;
    run.untilTitle = true;
    run.ticks = static_cast<std::int64_t>(length) + 5000;  // the set-ups between stages, and the end
    RunSummary summary;
    auto platform = plat::makeNullPlatform(plat::NullAudio::None);
    if (RunHeadless(run, *platform, summary) != 0) {
        error = "the playback failed";
        return false;
    }
    return true;
}

}  // namespace

VerifyReport VerifyReplay(const std::string& file, const ProgramOptions& options) {
    VerifyReport r;
    r.file = file;
    const auto info = std::make_unique<tz::TReplayFileInfo>();
    const tz::TReplayResult read = tz::ReadReplayFileInfo(file, *info);
    if (!read.Ok) {
        const bool cut = read.Error.find("recorded bytes") != std::string::npos ||
                         read.Error.find("shorter than a replay header") != std::string::npos;
        r.reason = cut ? "truncated" : "unreadable";
        r.detail = read.Error;
        return r;
    }
    r.recordedScore = info->Score;
    r.ticks = info->Length;
    r.checkOk = info->Check == tz::ReplayCheckValue(info->Score);
    r.hasProof = info->HasProof;
    r.version = info->Proof.Version;
    std::string error;
    if (!Resimulate(file, info->Length, options, error)) {
        r.reason = "playback failed";
        r.detail = error;
        return r;
    }
    const tz::TProofEntry& last = tz::ProofTape.Last;
    const bool reachedEnd = last.Tick == info->Length;
    r.score = reachedEnd ? last.Score : tz::Score;
    r.state = reachedEnd ? last.Hash : tz::GameStateHash();

    // Where the game parts from its recorded hashes: the first checkpoint, else the last tick.
    auto compare = [&r](const tz::TProofEntry& played, const tz::TProofEntry& recorded) {
        if (r.firstBadTick >= 0 || played.Hash == recorded.Hash) return;
        r.firstBadTick = recorded.Tick;
        const std::int32_t part = tz::FirstDifferingPart(played, recorded);
        r.differsIn = part >= 0 ? tz::ProofPartNames[static_cast<std::size_t>(part)] : "state";
    };
    const bool proofUsable = info->HasProof && info->ProofOk && info->Proof.Version == tz::GameLogicVersion;
    if (proofUsable) {
        for (std::int32_t i = 0; i < info->Proof.Count; ++i)
            compare(tz::ProofTape.Checkpoints[static_cast<std::size_t>(i)],
                    info->Proof.Checkpoints[static_cast<std::size_t>(i)]);
        compare(last, info->Proof.Last);
    }

    if (info->HasProof && !info->ProofOk) {
        r.reason = "truncated";
        r.detail = info->ProofError;
    } else if (info->HasProof && info->Proof.Version != tz::GameLogicVersion) {
        r.reason = "other logic version";
        r.detail = "recorded by logic version " + std::to_string(info->Proof.Version) + "; this program plays " +
                   std::to_string(tz::GameLogicVersion);
    } else if (proofUsable && (info->Proof.Count != info->Length / tz::ProofInterval ||
                               info->Proof.Last.Tick != info->Length)) {
        r.reason = "truncated";
        r.detail = "the proof record covers " + std::to_string(info->Proof.Last.Tick) + " ticks, the file holds " +
                   std::to_string(info->Length);
    } else if (r.firstBadTick >= 0 || (proofUsable && info->InputHash != info->Proof.InputHash)) {
        r.reason = "bytes changed";
        r.detail = r.firstBadTick >= 0 ? "the game parts from its recording by tick " +
                                             std::to_string(r.firstBadTick) + " (" + r.differsIn + ")"
                                       : "the input bytes differ from the recorded ones (the game plays alike)";
    } else if (!reachedEnd) {
        r.reason = "truncated";
        r.detail = "the playback did not reach its last recorded tick";
    } else if (r.score != r.recordedScore) {
        r.reason = "score edited";
        r.detail = "the file says " + std::to_string(r.recordedScore) + ", the game scores " + std::to_string(r.score);
    } else if (!r.checkOk) {
        r.reason = "check value edited";
        r.detail = "the check value does not belong to the score";
    }
    r.ok = r.reason.empty();
    return r;
}

std::string VerifyJson(const VerifyReport& r) {
    std::string line = "{\"file\":" + JsonText(r.file) + ",\"ok\":" + (r.ok ? "true" : "false") +
                       ",\"score\":" + std::to_string(r.score) + ",\"recorded_score\":" +
                       std::to_string(r.recordedScore) + ",\"ticks\":" + std::to_string(r.ticks) +
                       ",\"state\":\"" + tz::HashText(r.state) + "\",\"check_ok\":" + (r.checkOk ? "true" : "false") +
                       ",\"version\":" + (r.hasProof ? std::to_string(r.version) : std::string("null"));
    if (r.firstBadTick >= 0)
        line += ",\"first_bad_tick\":" + std::to_string(r.firstBadTick) + ",\"differs_in\":" + JsonText(r.differsIn);
    if (!r.ok) line += ",\"reason\":" + JsonText(r.reason) + ",\"detail\":" + JsonText(r.detail);
    return line + "}";
}

int RunVerify(const ProgramOptions& options) {
    bool allOk = true;
    for (const std::string& file : options.verify) {
        const VerifyReport report = VerifyReplay(file, options);
        allOk = allOk && report.ok;
        std::printf("%s\n", VerifyJson(report).c_str());
        std::fflush(stdout);
    }
    return allOk ? 0 : 1;
}

}  // namespace app
