#include "game/replay_proof.h"

#include <algorithm>
#include <initializer_list>

#include "game/logic_version.h"
#include "game/state_hash.h"
#include "game/tz_globals.h"
#include "game/tz_replay.h"

namespace tz {

TProofTape ProofTape{};

namespace {

template <typename T>
std::uint64_t HashOf(const T& field) {
    return HashBytes(&field, sizeof field);
}

// A part made of several fields: the hash of their hashes.
std::uint64_t Combined(std::initializer_list<std::uint64_t> hashes) {
    std::array<std::uint64_t, 8> list{};
    std::copy(hashes.begin(), hashes.end(), list.begin());
    return HashBytes(list.data(), hashes.size() * sizeof(std::uint64_t));
}

bool InPlay(std::uint8_t scene) {
    return scene == Scene::Play || scene == Scene::StageClear || scene == Scene::StageFade || scene == Scene::TimeOver;
}

void PutInt32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(static_cast<std::uint8_t>(v >> (8 * i))));
}

void PutInt64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(static_cast<std::uint8_t>(v >> (8 * i))));
}

std::int32_t GetInt32(const std::uint8_t* in) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | in[i];
    return static_cast<std::int32_t>(v);
}

std::uint64_t GetInt64(const std::uint8_t* in) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | in[i];
    return v;
}

void PutEntry(std::string& out, const TProofEntry& e) {
    PutInt32(out, e.Score);
    PutInt32(out, e.Tick);
    PutInt64(out, e.Hash);
    for (std::uint64_t part : e.Parts) PutInt64(out, part);
}

TProofEntry GetEntry(const std::uint8_t* in) {
    TProofEntry e;
    e.Score = GetInt32(in);
    e.Tick = GetInt32(in + 4);
    e.Hash = GetInt64(in + 8);
    for (std::size_t i = 0; i < e.Parts.size(); ++i) e.Parts[i] = GetInt64(in + 16 + 8 * i);
    return e;
}

}  // namespace

TProofEntry ProofEntryOf(const TPlayState& s, std::int32_t tick) {
    TProofEntry e;
    e.Score = s.Score;
    e.Tick = tick;
    e.Hash = HashOf(s);
    const auto* base = reinterpret_cast<const std::uint8_t*>(&s);
    const auto* randomAt = reinterpret_cast<const std::uint8_t*>(&s.GameRandom);
    e.Parts = {
        HashOf(s.MyShip),
        HashOf(s.MyShots),
        HashOf(s.Enemies),
        Combined({HashOf(s.EnemyShots), HashOf(s.EnemyShotNext)}),
        HashOf(s.Effects),
        Combined({HashOf(s.SpawnList), HashOf(s.GroupBonus), HashOf(s.GroupCount), HashOf(s.SpawnedCount),
                  HashOf(s.KilledCount), HashOf(s.MapIndex)}),
        Combined({HashBytes(base, static_cast<std::size_t>(randomAt - base)), HashOf(s.MapPos), HashOf(s.TallyValue),
                  HashOf(s.TallyX), HashOf(s.StarField), HashOf(s.List), HashOf(s.ListSlots)}),
        HashOf(s.GameRandom),
    };
    return e;
}

std::int32_t FirstDifferingPart(const TProofEntry& a, const TProofEntry& b) {
    for (std::int32_t i = 0; i < ProofPartCount; ++i)
        if (a.Parts[static_cast<std::size_t>(i)] != b.Parts[static_cast<std::size_t>(i)]) return i;
    return -1;
}

void NoteProofTick() {
    const std::int32_t tick = ReplayPos;
    if (tick == 1) ProofTape.Last = TProofEntry{};  // a new game
    if (tick > 0 && tick % ProofInterval == 0 && tick / ProofInterval <= ProofCheckpointRoom)
        ProofTape.Checkpoints[static_cast<std::size_t>(tick / ProofInterval - 1)] = ProofEntryOf(GameState.Play, tick);
    // The last recorded tick: in a playback, the one that took the last byte; in a game, the
    // one that leaves play (or fills the tape).
    const bool last = ReplayMode ? tick == ReplayLength : !InPlay(SceneState) || tick == ReplayBufferSize;
    if (!last) return;
    // The last stage's fade leads a game to the ending and a playback to the title; the proof
    // holds the playback's view, so both hash alike.
    const std::uint8_t scene = SceneState;
    if (scene == Scene::EndingSetup) SceneState = Scene::TitleSetup;
    ProofTape.Last = ProofEntryOf(GameState.Play, tick);
    SceneState = scene;
}

std::string EncodeProofRecord(std::int32_t length) {
    const std::int32_t count = std::min(length / ProofInterval, ProofCheckpointRoom);
    std::string out(ProofTag.begin(), ProofTag.end());
    PutInt32(out, GameLogicVersion);
    PutInt32(out, ProofInterval);
    PutInt32(out, count);
    PutInt64(out, HashBytes(ReplayBuffer.data(), static_cast<std::size_t>(std::clamp(length, 0, ReplayBufferSize))));
    for (std::int32_t i = 0; i < count; ++i) PutEntry(out, ProofTape.Checkpoints[static_cast<std::size_t>(i)]);
    PutEntry(out, ProofTape.Last.Tick == length ? ProofTape.Last : ProofEntryOf(GameState.Play, length));
    return out;
}

bool DecodeProofRecord(const std::uint8_t* data, std::size_t size, TProofRecord& out, std::string& error) {
    if (size < static_cast<std::size_t>(ProofHeadSize) || !std::equal(ProofTag.begin(), ProofTag.end(), data)) {
        error = "no proof record";
        return false;
    }
    out.Version = GetInt32(data + 4);
    out.Interval = GetInt32(data + 8);
    out.Count = GetInt32(data + 12);
    out.InputHash = GetInt64(data + 16);
    if (out.Interval != ProofInterval || out.Count < 0 || out.Count > ProofCheckpointRoom) {
        error = "the proof record's interval or count is out of range";
        return false;
    }
    const std::size_t need = static_cast<std::size_t>(ProofHeadSize) +
                             static_cast<std::size_t>(out.Count + 1) * static_cast<std::size_t>(ProofEntrySize);
    if (size < need) {
        error = "the proof record is cut short";
        return false;
    }
    const std::uint8_t* p = data + ProofHeadSize;
    for (std::int32_t i = 0; i < out.Count; ++i, p += ProofEntrySize)
        out.Checkpoints[static_cast<std::size_t>(i)] = GetEntry(p);
    out.Last = GetEntry(p);
    return true;
}

}  // namespace tz
