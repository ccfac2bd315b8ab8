#include "game/tz_replay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "game/tz_globals.h"
#include "game/tz_input.h"
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
                              std::int32_t length, std::int32_t startFrom) {
    if (length < 0 || length > ReplayBufferSize) {
        return Failure("SaveReplay: " + path + ": recording length " + std::to_string(length) +
                       " out of range");
    }
    if (startFrom < 0 || startFrom >= StartPointCount) {
        return Failure("SaveReplay: " + path + ": start point " + std::to_string(startFrom) + " out of range");
    }
    std::string file(ReplayHeaderSize + static_cast<std::size_t>(length) + (startFrom == 0 ? 0 : StartPointRecordSize),
                     '\0');
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
    const std::string error = WriteFileAtomically(path, file);
    if (!error.empty()) return Failure("SaveReplay: " + error);
    return {};
}

TReplayResult SaveReplay(const std::string& Name) {
    if (ReplayMode) return {};
    std::string error;
    if (!MakeFolder(SaveDir(), error)) return Failure("SaveReplay: cannot write " + ReplayPath(Name) + ": " + error);
    const std::int32_t length = ReplayPos < ReplayBufferSize ? ReplayPos : ReplayBufferSize;
    return WriteReplayFile(ReplayPath(Name), Score, ReplayBuffer.data(), length, GameStartFrom);
}

TFinishedGameSave SaveFinishedGame(bool playedBack) {
    TFinishedGameSave result;
    if (playedBack) {
        if (!ReplayMode) ReplayPos = 0;
        return result;
    }
    if (ReplayPos <= 0) return result;
    if (Score == HiScore) result.HighScore = SaveReplay("HighScore");
    result.LastGame = SaveReplay("LastGame");
    ReplayPos = 0;
    return result;
}

namespace {

// What a replay file holds besides its bytes, which ReadReplayFile leaves in LoadScratch.
struct TReplayFileInfo {
    std::int32_t Length = 0;
    std::int32_t StartFrom = 0;
};

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
    // The start-point record, when the bytes after the recording are one.
    std::array<std::uint8_t, StartPointRecordSize> trailer{};
    info = TReplayFileInfo{length, 0};
    if (std::fread(trailer.data(), 1, trailer.size(), f.get()) == trailer.size() &&
        std::equal(StartPointTag.begin(), StartPointTag.end(), trailer.begin())) {
        const std::int32_t value = GetInt32(trailer.data() + StartPointTag.size());
        if (value >= 0 && value < StartPointCount) info.StartFrom = value;
    }
    return {};
}

}  // namespace

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
    return result;
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
