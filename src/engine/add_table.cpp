#include "engine/add_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace engine {

namespace {

// The palette sorted by each entry's channel sum. The sum differs from a target's by no more
// than their distance (the sum of the absolute channel differences), so a search outward
// from the target's sum can stop on each side once the sums alone are further than the best
// distance found: that is usually after a few dozen entries instead of all 256.
struct SumOrder {
    std::array<int, 256> sum{};
    std::array<std::uint8_t, 256> index{};
    std::array<plat::Rgb, 256> colour{};

    explicit SumOrder(const plat::Palette& palette) {
        std::array<int, 256> order{};
        for (int k = 0; k < 256; ++k) order[static_cast<std::size_t>(k)] = k;
        auto entrySum = [&](int k) {
            const plat::Rgb e = palette[static_cast<std::size_t>(k)];
            return e.r + e.g + e.b;
        };
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return entrySum(x) < entrySum(y); });
        for (std::size_t n = 0; n < 256; ++n) {
            index[n] = static_cast<std::uint8_t>(order[n]);
            sum[n] = entrySum(order[n]);
            colour[n] = palette[static_cast<std::size_t>(order[n])];
        }
    }
};

// The entry nearest to (r, g, b); of several as near, the lowest index.
std::uint8_t nearestEntry(const SumOrder& order, int r, int g, int b) {
    const int target = r + g + b;
    int best = 1000, bestIndex = 0;   // further than any two colours can be (765)
    auto consider = [&](std::size_t n) {
        const plat::Rgb e = order.colour[n];
        const int dist = std::abs(e.r - r) + std::abs(e.g - g) + std::abs(e.b - b);
        if (dist < best || (dist == best && order.index[n] < bestIndex)) {
            best = dist;
            bestIndex = order.index[n];
        }
    };
    const auto first = std::lower_bound(order.sum.begin(), order.sum.end(), target) - order.sum.begin();
    std::ptrdiff_t up = first, down = first - 1;
    // Both sides are walked while an entry there could still be as near as the best
    // (as near: a lower index wins the tie).
    while (true) {
        const bool upOpen = up < 256 && order.sum[static_cast<std::size_t>(up)] - target <= best;
        const bool downOpen = down >= 0 && target - order.sum[static_cast<std::size_t>(down)] <= best;
        if (!upOpen && !downOpen) break;
        if (upOpen) consider(static_cast<std::size_t>(up++));
        if (downOpen) consider(static_cast<std::size_t>(down--));
    }
    return static_cast<std::uint8_t>(bestIndex);
}

}  // namespace

void computeAddTable(const plat::Palette& palette, int rateA, int rateB, MixTable& table) {
    const int a = rateA * 256 / 100, b = rateB * 256 / 100;
    auto mix = [](int ci, int cj, int wa, int wb) {
        const int v = ci * wa + wb * cj;
        return v < 65536 ? v >> 8 : 255;
    };
    const SumOrder order(palette);
    for (int i = 0; i < 256; ++i) {
        const plat::Rgb ci = palette[static_cast<std::size_t>(i)];
        for (int j = 0; j < 256; ++j) {
            const plat::Rgb cj = palette[static_cast<std::size_t>(j)];
            table[static_cast<std::size_t>(j) * 256 + static_cast<std::size_t>(i)] =
                nearestEntry(order, mix(ci.r, cj.r, a, b), mix(ci.g, cj.g, a, b), mix(ci.b, cj.b, a, b));
        }
    }
}

bool readAddTable(const std::string& path, MixTable& table) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    MixTable t;
    if (std::fread(t.data(), 1, t.size(), f.get()) != t.size()) return false;
    if (std::fgetc(f.get()) != EOF) return false;   // longer than a table: not ours
    table = t;
    return true;
}

bool writeAddTable(const std::string& path, const MixTable& table) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(table.data(), 1, table.size(), f) == table.size();
    const bool closed = std::fclose(f) == 0;
    if (ok && closed) return true;
    std::remove(path.c_str());
    return false;
}

}  // namespace engine
