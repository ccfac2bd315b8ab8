#include "game/tz_replay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_outlet.h"
#include "game/replay_proof.h"
#include "game/state_hash.h"
#include "core/atomic_write.h"
#include "core/data_path.h"
#include "core/random.h"

namespace tz {

std::array<std::uint8_t, ReplayBufferSize> ReplayBuffer{};

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void PutInt32(std::uint8_t* out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    out[0] = static_cast<std::uint8_t>(v);
    out[1] = static_cast<std::uint8_t>(v >> 8);
    out[2] = static_cast<std::uint8_t>(v >> 16);
    out[3] = static_cast<std::uint8_t>(v >> 24);
}

std::int32_t GetInt32(const std::uint8_t* in) {
    const std::uint32_t v = in[0] | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16) |
                            (std::uint32_t{in[3]} << 24);
    return static_cast<std::int32_t>(v);
}

TReplayResult Failure(std::string text) { return TReplayResult{false, std::move(text)}; }

std::string SystemError(int err) { return std::strerror(err); }

// Loading reads into this scratch copy first, so a refused file changes nothing.
std::array<std::uint8_t, ReplayBufferSize> LoadScratch{};

// The replay file being watched, for FinishedGameName (empty: none).
std::string WatchedFile;

}  // namespace

std::uint8_t NextTickInput() {
    std::uint8_t keys = 0;
    if (ReplayMode) {
        if (ReplayPos < ReplayLength) keys = ReplayBuffer[ReplayPos];
    } else {
        keys = ReadPlayerInput();
        if (ReplayPos < ReplayBufferSize) ReplayBuffer[ReplayPos] = keys;
    }
    if (ReplayPos < ReplayBufferSize) ++ReplayPos;
    return keys;
}

std::int32_t ReplayCheckValue(std::int32_t score) {
    // The same draw as the game's generator seeded with the score, from a generator of its
    // own: saving a replay leaves the game's state untouched, so a game and the playback of
    // its replay (which is not saved) stay alike.
    TRandom check{static_cast<std::uint32_t>(score)};
    return check.Random(10000);
}

std::int32_t NextGameStartFrom() { return ReplayMode ? ReplayStartFrom : StartFrom; }

std::string ReplayPath(const std::string& Name) { return SaveDir() + Name + ReplayExtension; }

TReplayResult WriteReplayFile(const std::string& path, std::int32_t score, const std::uint8_t* bytes,
                              std::int32_t length, std::int32_t startFrom, std::string_view proof) {
    if (length < 0 || length > ReplayBufferSize) {
        return Failure("SaveReplay: " + path + ": recording length " + std::to_string(length) +
                       " out of range");
    }
    if (startFrom < 0 || startFrom >= StartPointCount) {
        return Failure("SaveReplay: " + path + ": start point " + std::to_string(startFrom) + " out of range");
    }
    std::string file(ReplayHeaderSize + static_cast<std::size_t>(length) + (startFrom == 0 ? 0 : StartPointRecordSize),
                     '\0');
    file.reserve(file.size() + proof.size());
    auto* out = reinterpret_cast<std::uint8_t*>(file.data());
    PutInt32(out, score);
    PutInt32(out + 4, ReplayCheckValue(score));
    PutInt32(out + 8, length);
    if (length > 0) std::copy(bytes, bytes + length, out + ReplayHeaderSize);
    if (startFrom != 0) {
        std::uint8_t* record = out + ReplayHeaderSize + length;
        std::copy(StartPointTag.begin(), StartPointTag.end(), record);
        PutInt32(record + StartPointTag.size(), startFrom);
    }
    file.append(proof);
    const std::string error = WriteFileAtomically(path, file);
    if (!error.empty()) return Failure("SaveReplay: " + error);
    return {};
}

TReplayResult SaveReplay(const std::string& Name) {
    if (ReplayMode) return {};
    std::string error;
    if (!MakeFolder(SaveDir(), error)) return Failure("SaveReplay: cannot write " + ReplayPath(Name) + ": " + error);
    const std::int32_t length = ReplayPos < ReplayBufferSize ? ReplayPos : ReplayBufferSize;
    return WriteReplayFile(ReplayPath(Name), Score, ReplayBuffer.data(), length, GameStartFrom,
                           EncodeProofRecord(length));
}

std::string FinishedGameName(const std::string& Name) {
    if (WatchedFile.empty()) return Name;
    std::error_code error;
    return std::filesystem::equivalent(ReplayPath(Name), WatchedFile, error) ? TakeOverReplayName : Name;
}

TFinishedGameSave SaveFinishedGame(bool playedBack) {
    TFinishedGameSave result;
    if (playedBack) {
        if (!ReplayMode) {
            ReplayPos = 0;
            // Watched to its end: later games are the player's own. (A silenced set-up, as a
            // seek runs, changes nothing outside the game state.)
            if (!OutletSilenced()) WatchedFile.clear();
        }
        return result;
    }
    if (ReplayPos <= 0) return result;
    if (Score == HiScore) result.HighScore = SaveReplay(FinishedGameName("HighScore"));
    result.LastGame = SaveReplay(FinishedGameName("LastGame"));
    ReplayPos = 0;
    WatchedFile.clear();
    return result;
}

namespace {

// The records after the bytes, when there are any: the start-point record, then the proof.
constexpr std::size_t TrailerRoom = StartPointRecordSize + ProofHeadSize + (ProofCheckpointRoom + 1) * ProofEntrySize;
std::array<std::uint8_t, TrailerRoom> TrailerScratch{};

TReplayResult ReadReplayFile(const std::string& FileName, TReplayFileInfo& info) {
    File f(std::fopen(FileName.c_str(), "rb"));
    if (!f) return Failure("LoadReplay: cannot open " + FileName + ": " + SystemError(errno));
    std::array<std::uint8_t, ReplayHeaderSize> header{};
    if (std::fread(header.data(), 1, header.size(), f.get()) != header.size()) {
        return Failure("LoadReplay: " + FileName + " is shorter than a replay header");
    }
    const std::int32_t length = GetInt32(header.data() + 8);
    if (length < 0 || length > ReplayBufferSize) {
        return Failure("LoadReplay: " + FileName + " has a bad length field (" + std::to_string(length) +
                       "; a replay holds 0.." + std::to_string(ReplayBufferSize) + " bytes)");
    }
    const std::size_t got = std::fread(LoadScratch.data(), 1, static_cast<std::size_t>(length), f.get());
    if (got != static_cast<std::size_t>(length)) {
        return Failure("LoadReplay: " + FileName + " holds " + std::to_string(got) + " of its " +
                       std::to_string(length) + " recorded bytes");
    }
    info = TReplayFileInfo{};
    info.Score = GetInt32(header.data());
    info.Check = GetInt32(header.data() + 4);
    info.Length = length;
    info.InputHash = HashBytes(LoadScratch.data(), static_cast<std::size_t>(length));
    // The start-point record, when the bytes after the recording are one; then the proof.
    const std::size_t trailer = std::fread(TrailerScratch.data(), 1, TrailerScratch.size(), f.get());
    std::size_t at = 0;
    if (trailer >= StartPointRecordSize &&
        std::equal(StartPointTag.begin(), StartPointTag.end(), TrailerScratch.begin())) {
        const std::int32_t value = GetInt32(TrailerScratch.data() + StartPointTag.size());
        if (value >= 0 && value < StartPointCount) info.StartFrom = value;
        at = StartPointRecordSize;
    }
    if (trailer >= at + ProofTag.size() &&
        std::equal(ProofTag.begin(), ProofTag.end(), TrailerScratch.begin() + static_cast<std::ptrdiff_t>(at))) {
        info.HasProof = true;
        info.ProofOk = DecodeProofRecord(TrailerScratch.data() + at, trailer - at, info.Proof, info.ProofError);
    }
    return {};
}

}  // namespace

TReplayResult ReadReplayFileInfo(const std::string& FileName, TReplayFileInfo& info) {
    return ReadReplayFile(FileName, info);
}

TReplayResult CheckReplayFile(const std::string& FileName) {
    TReplayFileInfo info;
    return ReadReplayFile(FileName, info);
}

TReplayResult LoadReplay(const std::string& FileName) {
    TReplayFileInfo info;
    TReplayResult result = ReadReplayFile(FileName, info);
    if (!result.Ok) return result;
    std::copy(LoadScratch.begin(), LoadScratch.begin() + info.Length, ReplayBuffer.begin());
    ReplayLength = info.Length;
    ReplayStartFrom = static_cast<std::uint8_t>(info.StartFrom);
    ReplayMode = true;
    ReplayPos = 0;
    WatchedFile = FileName;
    return result;
}

bool TakeOverPlayback() {
    if (!ReplayMode || ReplayPos <= 0) return false;
    ReplayMode = false;
    ReplayLength = 0;
    return true;
}

TReplayListLine ReplayListLine(const std::string& FileName) {
    TReplayListLine result;
    File f(std::fopen(FileName.c_str(), "rb"));
    std::array<std::uint8_t, 8> head{};
    if (!f) {
        result.Ok = false;
        result.Error = "cannot open " + FileName + ": " + SystemError(errno);
        return result;
    }
    if (std::fread(head.data(), 1, head.size(), f.get()) != head.size()) {
        result.Ok = false;
        result.Error = FileName + " is shorter than a replay header";
        return result;
    }
    const std::string stem = std::filesystem::path(FileName).stem().string();
    char text[64];
    std::snprintf(text, sizeof text, "%8dpts. [", GetInt32(head.data()));
    result.Line = std::string(text) + stem + "]";
    return result;
}

}  // namespace tz
