// The colour-mix cache as the engine opens it at start-up (MakeAddTable): the cache is found
// beside the program by its name in any letter case and used only when it holds exactly one
// table, and a refused cache leaves the table in use as it was; then the table is computed
// from the palette and written back as the cache, which the next start uses as it is.
//
// Computing a table takes 65,536 nearest-colour searches, far slower than the open, so the
// whole start-up runs for whole tables and for inputs of under four bytes (a missing, empty
// or cut cache) only; every other input goes through the engine's open step alone. An input
// of under four bytes is only its length and the name it was stored as, so each of those
// few cases computes the table once per process; later ones check the open step alone.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/add_table.h"
#include "engine/sprite_ex.h"
#include "engine/sprite_ex_test_access.h"
#include "fuzz_engine.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

struct TState {
    fuzz::ProgramFolder folder;
    fuzz::QuietPlatform platform;
    std::unique_ptr<engine::TSpriteEx> sprite = std::make_unique<engine::TSpriteEx>(platform);
    engine::MixTable computed{};
    std::array<bool, 8> shortCaseRun{};   // [length * 2 + (capital name)], for length < 4
    TState() {
        // An all-black palette: every mix is found at entry 0 at once, so a computed table
        // costs little (the engine's palette before any picture is loaded).
        engine::computeAddTable(sprite->StoredPalette(), 80, 100, computed);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TState state;
    engine::TSpriteEx& sprite = *state.sprite;
    engine::MixTable& table = engine::SpriteExTestAccess::AddTable(sprite);
    const fuzz::ProgramFolder& folder = state.folder;
    folder.remove("Title.Add");
    folder.remove("TITLE.ADD");
    // The name as the data was stored, or in capitals as a case-insensitive system leaves it.
    const bool capitals = size > 0 && (data[0] & 1) != 0;
    const char* stored = capitals ? "TITLE.ADD" : "Title.Add";
    if (!folder.write(stored, data, size)) return 0;

    const bool isTable = size == engine::MixTable{}.size();
    table.fill(7);
    Check(sprite.LoadAddTable("Title") == isTable);
    if (isTable) {
        Check(std::memcmp(sprite.AddTable().data(), data, size) == 0);
    } else {
        Check(std::all_of(sprite.AddTable().begin(), sprite.AddTable().end(), [](std::uint8_t v) { return v == 7; }));
        if (size >= 4) return 0;
        bool& ran = state.shortCaseRun[size * 2 + (capitals ? 1 : 0)];
        if (ran) return 0;
        ran = true;
    }

    table.fill(7);
    sprite.MakeAddTable("Title", 80, 100);
    if (isTable) {
        Check(std::memcmp(sprite.AddTable().data(), data, size) == 0);
        return 0;
    }
    Check(sprite.AddTable() == state.computed);
    // The computed table was written as the cache, and the next start reads it back.
    auto cache = std::make_unique<engine::MixTable>();
    Check(engine::readAddTable(folder.path("Title.Add"), *cache) && *cache == state.computed);
    table.fill(7);
    Check(sprite.LoadAddTable("Title") && sprite.AddTable() == state.computed);
    return 0;
}
