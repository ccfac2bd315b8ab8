#include "engine/add_table.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace engine {

void computeAddTable(const plat::Palette& palette, int rateA, int rateB, MixTable& table) {
    const int a = rateA * 256 / 100, b = rateB * 256 / 100;
    auto mix = [](int ci, int cj, int wa, int wb) {
        const int v = ci * wa + wb * cj;
        return v < 65536 ? v >> 8 : 255;
    };
    for (int i = 0; i < 256; ++i) {
        const plat::Rgb ci = palette[static_cast<std::size_t>(i)];
        for (int j = 0; j < 256; ++j) {
            const plat::Rgb cj = palette[static_cast<std::size_t>(j)];
            const int r = mix(ci.r, cj.r, a, b), g = mix(ci.g, cj.g, a, b), bl = mix(ci.b, cj.b, a, b);
            int best = 999, bestIndex = 0;
            for (int k = 0; k < 256; ++k) {
                const plat::Rgb e = palette[static_cast<std::size_t>(k)];
                const int dist = std::abs(e.r - r) + std::abs(e.g - g) + std::abs(e.b - bl);
                if (dist < best) {
                    best = dist;
                    bestIndex = k;
                    if (dist == 0) break;   // exact: no later entry can win the tie
                }
            }
            table[static_cast<std::size_t>(j) * 256 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bestIndex);
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
