// The object list under a crowded tick: 400 listed records (ship, shots, enemies) each moved
// once through MoveCheck with the game's masks, against the all-pairs test the sweep replaces.
#include <benchmark/benchmark.h>

#include <vector>

#include "collision/list.h"
#include "core/random.h"
#include "game/tz_unitlist.h"

using namespace tz;

namespace {

int contacts = 0;
void Count(TCharacter&, TCharacter&, std::uint8_t&) { ++contacts; }

struct Crowd {
    TList list;
    std::vector<TCharacter> recs = std::vector<TCharacter>(400);
    Crowd() {
        list.Max = 400;
        list.CheckType = UnitListCheckType;
        list.Loaded();
        TRandom rnd{1234};
        for (std::size_t i = 0; i < recs.size(); ++i) {
            const auto type = i == 0 ? TCharType::ctOwnShip : i < 64 ? TCharType::ctOwnShot : TCharType::ctEnemy;
            const std::int16_t range = type == TCharType::ctOwnShot ? 20 : 64;
            list.AddCharacter(recs[i], static_cast<std::int16_t>(rnd.Random(640)),
                              static_cast<std::int16_t>(rnd.Random(480)), static_cast<std::uint8_t>(rnd.Random(256)), 0,
                              type, static_cast<std::int16_t>(4 + rnd.Random(12)), range, 16, 0, 2);
            recs[i].OnCheck = Count;
            recs[i].Speed = static_cast<std::int16_t>(64 + rnd.Random(256));
        }
    }
};

void BM_ListTickOfMoveCheck(benchmark::State& state) {
    Crowd crowd;
    for (auto _ : state) {
        for (auto& r : crowd.recs) {
            crowd.list.Advance(r);
            // Keep the crowd on the screen: turn back at the edges.
            if (r.YPos() < 0 || r.YPos() > 480 || r.XPos() < 0 || r.XPos() > 640)
                crowd.list.MoveCharacter(r, 0, 0, static_cast<std::int16_t>(128 << 8));
        }
    }
    benchmark::DoNotOptimize(contacts);
    state.counters["records"] = static_cast<double>(crowd.list.Count());
}
BENCHMARK(BM_ListTickOfMoveCheck)->Unit(benchmark::kMicrosecond);

// The same moves with an all-pairs contact test instead of the sweep.
void BM_AllPairsTick(benchmark::State& state) {
    Crowd crowd;
    for (auto _ : state) {
        for (auto& r : crowd.recs) {
            crowd.list.MoveCharacter(r, WrapMul(r.Speed, Cos(r.Direction())), WrapMul(r.Speed, Sin(r.Direction())), 0);
            if (r.YPos() < 0 || r.YPos() > 480 || r.XPos() < 0 || r.XPos() > 640)
                crowd.list.MoveCharacter(r, 0, 0, static_cast<std::int16_t>(128 << 8));
            const std::uint16_t mask = crowd.list.GetCheckType(static_cast<std::uint8_t>(r.CharType));
            for (auto& p : crowd.recs) {
                if (&p == &r || ((mask >> static_cast<unsigned>(p.CharType)) & 1u) == 0) continue;
                const int dx = p.XPos() - r.XPos(), dy = p.YPos() - r.YPos(), rr = p.Radius + r.Radius;
                if (dx * dx + dy * dy < rr * rr) ++contacts;
            }
        }
    }
    benchmark::DoNotOptimize(contacts);
}
BENCHMARK(BM_AllPairsTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
