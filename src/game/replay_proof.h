#pragma once
// The proof a replay carries of its game: the state hash every ProofInterval recorded ticks
// and after the last recorded tick, each with the hashes of the state's parts, so a replay
// that plays differently names where and in what it parts from its recording.
//
// The record follows the bytes (and the start-point record) in the file: the tag "SEAL", the
// logic version (int32), the interval (int32), the checkpoint count k (int32), the hash of
// the recorded input bytes (uint64), then k + 1
// entries (the k checkpoints, then the last tick), each the score (int32), the tick (int32),
// the state hash and the eight part hashes (uint64 each).

#include <array>
#include <cstdint>
#include <string>

#include "game/tz_state.h"

namespace tz {

inline constexpr std::int32_t ProofInterval = 700;
inline constexpr std::array<std::uint8_t, 4> ProofTag{'S', 'E', 'A', 'L'};
inline constexpr std::int32_t ProofPartCount = 8;
inline constexpr std::int32_t ProofCheckpointRoom = 30000 / ProofInterval;  // a full replay buffer
inline constexpr std::int32_t ProofEntrySize = 4 + 4 + 8 + 8 * ProofPartCount;
inline constexpr std::int32_t ProofHeadSize = 24;

// The parts, in the order of the part hashes.
inline constexpr std::array<const char*, ProofPartCount> ProofPartNames{
    "ship", "shots", "enemies", "bullets", "effects", "spawn list", "scene and clock", "random generator"};

struct TProofEntry {
    std::int32_t Score = 0;
    std::int32_t Tick = -1;   // recorded ticks played when taken; -1: not taken
    std::uint64_t Hash = 0;   // GameStateHash
    std::array<std::uint64_t, ProofPartCount> Parts{};
};

// The entry of the live state after a tick that played Tick recorded ticks.
TProofEntry ProofEntryOf(const TPlayState& state, std::int32_t tick);

// The first part whose hash differs, or -1.
std::int32_t FirstDifferingPart(const TProofEntry& a, const TProofEntry& b);

// What the ticks of a game leave for its proof, beside the recording tape (ReplayBuffer): a
// repeated tick writes the same entry again, so a look-ahead that is undone leaves it true.
struct TProofTape {
    std::array<TProofEntry, ProofCheckpointRoom> Checkpoints{};  // after ticks 700, 1400, ...
    TProofEntry Last{};        // recording: the last tick of play so far; playback: tick ReplayLength
};
extern TProofTape ProofTape;

// Called after every tick that ran the game step.
void NoteProofTick();

// A proof record read from a file.
struct TProofRecord {
    std::int32_t Version = 0;
    std::int32_t Interval = ProofInterval;
    std::int32_t Count = 0;
    std::uint64_t InputHash = 0;  // HashBytes of the recorded input bytes
    std::array<TProofEntry, ProofCheckpointRoom> Checkpoints{};
    TProofEntry Last{};
};

// The record for a recording of `length` ticks from the tape; the last entry is the tape's
// when it was taken at that tick, else the live state's (a game saved in mid-play).
// The input bytes are the first `length` of ReplayBuffer.
std::string EncodeProofRecord(std::int32_t length);

// Reads a record at `data` (size bytes, starting with the tag); false with the reason when
// it is not a whole one.
bool DecodeProofRecord(const std::uint8_t* data, std::size_t size, TProofRecord& out, std::string& error);

}  // namespace tz
