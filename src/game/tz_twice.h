#pragma once
// Running one tick twice from the same state: the check behind --heavy. The first run is
// the real one, with its effects; the state is then put back and the tick runs again with
// the outlet silenced. Both must end in the same state: a difference means the tick keeps
// something outside the game state record (a static local, a cache, a counter) or reads
// something that changes between two runs.

#include <cstdint>

#include "game/state_hash.h"
#include "game/tz_outlet.h"
#include "game/tz_state.h"

namespace tz {

struct TTwiceResult {
    std::uint64_t First = 0;
    std::uint64_t Second = 0;
    bool Same() const { return First == Second; }
};

// Snapshot is scratch room for the copy of the state (kept by the caller: it is large).
template <class Tick>
TTwiceResult RunTickTwice(Tick&& tick, TGameState& Snapshot) {
    TTwiceResult r;
    SaveGameState(Snapshot);
    tick();
    r.First = GameStateHash();
    RestoreGameState(Snapshot);
    {
        TSilencedOutlet silence;
        tick();
    }
    r.Second = GameStateHash();
    return r;
}

}  // namespace tz
