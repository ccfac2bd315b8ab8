#include "game/state_hash.h"

#include <cstdio>

#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_objects_hash.h"
#include "game/tz_random.h"
#include "game/tz_replay.h"

namespace tz {
namespace {

// The scene machine's globals. Drawing-only state (RefreshCount, the drawing generator) is
// left out: a frame drawn or not must not change the hash. So are the records and the
// playback mode (HiScore, ReplayMode, ReplayLength): a game and the playback of its replay
// are the same game and hash alike at every tick, though only the game raises HiScore.
void HashSceneGlobals(StateHasher& h) {
    h.U8(SceneState);
    h.I32(SceneTimer);
    h.I32(Score);
    h.I32(StageNo);
    h.I32(TimeLeft);
    h.I32(DeadTimer);
    h.I32(BossLife);
    h.I32(BonusRate);
    h.Bool(BgmPlaying);
    h.U8(FillColour);
    h.I32(StartFrom);
    h.U32(RandSeed);
}

// The recording: its position and the bytes recorded (or played back) so far.
void HashReplay(StateHasher& h) {
    h.I32(ReplayPos);
    const std::int32_t n = ReplayPos < 0 ? 0 : (ReplayPos > ReplayBufferSize ? ReplayBufferSize : ReplayPos);
    h.Bytes(ReplayBuffer.data(), static_cast<std::size_t>(n));
}

}  // namespace

std::uint64_t GameStateHash() {
    StateHasher h;
    HashSceneGlobals(h);
    HashReplay(h);
    HashGameObjects(h);
    return h.Value();
}

std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace tz
