#pragma once
// Recording, playback and the replay files (".KRREP"): every game is one input byte per
// tick, and playing the bytes back reproduces the game.
//
// File layout, little-endian: score (int32), check value (int32, Random(10000) right after
// RandSeed = score), length n (int32), then the n input bytes. A game that did not start
// from the beginning adds a start-point record after the bytes: the tag "FROM" and the
// start point 1..5 (int32). Readers that know only the length ignore it; a file without it
// starts from the beginning. A game recorded by this program then carries its proof record
// (replay_proof.h), which readers that stop at the start point ignore too.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/replay_proof.h"

#include "game/tz_state.h"

namespace tz {

inline constexpr std::int32_t ReplayBufferSize = 30000;
inline constexpr std::int32_t ReplayHeaderSize = 12;
inline constexpr const char* ReplayExtension = ".KRREP";
inline constexpr std::array<std::uint8_t, 4> StartPointTag{'F', 'R', 'O', 'M'};
inline constexpr std::int32_t StartPointRecordSize = 8;
inline constexpr std::int32_t StartPointCount = 6;  // 0 start .. 5 credits

extern std::array<std::uint8_t, ReplayBufferSize> ReplayBuffer;
// The recording tape itself stays outside the game state (a repeated tick writes the same
// byte again); where it stands, and the playback, are kept with the state.
inline std::int32_t& ReplayPos = GameState.Play.ReplayPos;          // next byte; after a game, the recorded length
inline std::int32_t& ReplayLength = GameState.Records.ReplayLength; // bytes held by the loaded replay (replay mode)
inline bool& ReplayMode = GameState.Records.ReplayMode;             // a loaded replay is being played back
inline std::uint8_t& ReplayStartFrom = GameState.Records.ReplayStartFrom; // the loaded replay's start point
inline std::uint8_t& GameStartFrom = GameState.Records.GameStartFrom;     // the game in progress's start point

// Where the next new game starts: the loaded replay's start point while one is to be played
// back, otherwise the start-from choice (StartFrom).
std::int32_t NextGameStartFrom();

struct TReplayResult {
    bool Ok = true;
    std::string Error;  // what failed, naming the file
};

// One game tick's input byte, step 6 of the game step. Playing: the live input, stored at
// ReplayPos. Replay mode: the recorded byte (0 past the loaded length). ReplayPos then
// advances; it stops at the end of the buffer, so a longer game records its first 30000
// ticks.
std::uint8_t NextTickInput();

// The check value stored after the score: Random(10000) of a generator seeded with the
// score (the game's own generator is not touched).
std::int32_t ReplayCheckValue(std::int32_t score);

// The full path of a named replay where the game writes its files: SaveDir + Name + ".KRREP".
std::string ReplayPath(const std::string& Name);

// Writes a replay file whole or not at all (core/atomic_write.h): a failed write leaves the
// previous file as it was. A start point other than 0 is written as the start-point record
// after the bytes, and the proof record (replay_proof.h), when given, after that.
TReplayResult WriteReplayFile(const std::string& path, std::int32_t score, const std::uint8_t* bytes,
                              std::int32_t length, std::int32_t startFrom = 0, std::string_view proof = {});

// Writes the current recording (Score, the first ReplayPos bytes, GameStartFrom) as
// ReplayPath(Name), making its folder when missing. Does nothing in replay mode.
TReplayResult SaveReplay(const std::string& Name);

// What the title set-up and the ending set-up do with a finished game. A game that was
// played (not the playback of a loaded replay) and recorded something is saved as
// "HighScore" when Score equals HiScore, then as "LastGame" (both are attempted whatever the
// first gives), and ReplayPos becomes 0. A playback is never saved: it would replace the
// player's own games with the one watched; once replay mode has ended, ReplayPos becomes 0
// so no later set-up takes the playback for a game. The game goes on whatever fails.
// A game taken over from a replay file (TakeOverPlayback) is never saved over that file: a
// name whose file is the one watched is saved as TakeOverReplayName instead. The watched
// file is the one LoadReplay read last, until a playback ends without being taken over.
inline constexpr const char* TakeOverReplayName = "TakeOver";
struct TFinishedGameSave {
    TReplayResult HighScore;  // Ok when saved or not due
    TReplayResult LastGame;
};
TFinishedGameSave SaveFinishedGame(bool playedBack);
// The name a finished game's replay is saved under in place of Name (see above).
std::string FinishedGameName(const std::string& Name);

// Loads a replay file into ReplayBuffer and enters replay mode with ReplayPos = 0, taking
// ReplayStartFrom from its start-point record (0 without one; bytes after the recording that
// are not such a record are ignored). A file that cannot be opened, is shorter than its
// header, or whose length field is negative, above 30000 or beyond the bytes it holds is
// refused; the buffer, ReplayPos, ReplayLength, ReplayStartFrom and ReplayMode are then left
// as they were.
TReplayResult LoadReplay(const std::string& FileName);

// What a replay file holds besides its bytes. The bytes themselves stay in a scratch copy
// until the next read.
struct TReplayFileInfo {
    std::int32_t Score = 0;
    std::int32_t Check = 0;
    std::int32_t Length = 0;
    std::int32_t StartFrom = 0;
    std::uint64_t InputHash = 0;  // HashBytes of the recorded bytes
    bool HasProof = false;      // a proof record follows
    bool ProofOk = false;       // and it reads whole (else ProofError says why)
    std::string ProofError;
    TProofRecord Proof;
};
TReplayResult ReadReplayFileInfo(const std::string& FileName, TReplayFileInfo& info);

// Take over: the playback stops at the current tick and the game plays on from that state
// with the live input. The recording goes on from ReplayPos, after the watched replay's bytes
// so far, with its start point: the finished game's replay is exact by construction. False
// (nothing changed) when no playback is in progress.
bool TakeOverPlayback();

// Whether LoadReplay would take the file, and why not; changes nothing the game reads.
TReplayResult CheckReplayFile(const std::string& FileName);

// The replay list's line for a file: "%8dpts. [%s]" of its score and its name without
// folder and extension.
struct TReplayListLine {
    bool Ok = true;
    std::string Line;
    std::string Error;
};
TReplayListLine ReplayListLine(const std::string& FileName);

}  // namespace tz
