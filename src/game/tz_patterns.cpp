#include "game/tz_patterns.h"

#include "core/data_path.h"
#include "engine/bank_file.h"
#include "engine/sprite_hit.h"
#include "core/bank_list.h"

namespace tz {

namespace {

// Read-only input of the game, like its maps: set at start-up, never written during play.
engine::TPatternRecords Patterns{};

}  // namespace

bool LoadPatterns(std::string& error) {
    engine::TBankTable banks{};
    // A bank that is not found keeps its place and has no patterns, as in the engine (which
    // reports it when the bank is loaded).
    for (std::size_t i = 0; i < BankFiles.size(); ++i) banks[i].fileName = DataPath(std::string(BankFiles[i].File), ".sp4");
    engine::TPatternRecords records{};
    if (engine::readBankSet(banks, records, error) != engine::TBankSetResult::Ok) return false;
    Patterns = records;
    return true;
}

bool PatternsTouch(const TCharacter& a, const TCharacter& b) {
    return engine::SpriteHit(Patterns, a.SpriteRec(), b.SpriteRec());
}

std::int32_t PatternWidth(std::int16_t Pattern) {
    if (Pattern < 0 || Pattern >= engine::kPatternCount) return 0;
    const auto& r = Patterns[static_cast<std::size_t>(Pattern)].source;
    return r.right - r.left;
}

}  // namespace tz
