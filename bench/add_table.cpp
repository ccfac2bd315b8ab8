// The colour-mix table the title computes on a first start (no cache file yet): on the
// title bank's own palette, and on a palette of random colours.

#include <benchmark/benchmark.h>

#include <random>

#include "engine/add_table.h"
#include "engine/bmp8.h"

namespace {

void ComputeTable(benchmark::State& state, const plat::Palette& palette) {
    engine::MixTable table{};
    for (auto _ : state) {
        engine::computeAddTable(palette, 80, 100, table);
        benchmark::DoNotOptimize(table.data());
    }
}

void BM_TitlePalette(benchmark::State& state) {
    const auto title = engine::bmp8::read(KORRINDAL_TITLE_BANK);
    if (!title) {
        state.SkipWithError("the title bank's picture is not built");
        return;
    }
    ComputeTable(state, title->palette);
}
BENCHMARK(BM_TitlePalette)->Unit(benchmark::kMillisecond);

void BM_RandomPalette(benchmark::State& state) {
    std::mt19937 random(1);
    plat::Palette palette{};
    for (auto& c : palette)
        c = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random())};
    ComputeTable(state, palette);
}
BENCHMARK(BM_RandomPalette)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
