#include "kind_names.h"

#include <array>
#include <charconv>

#include "game/tz_kinds.h"

namespace mapc {
namespace {

namespace K = tz::EnemyKind;

struct TNamedKind {
    std::string_view Name;
    std::uint8_t Kind;
};

constexpr std::array<TNamedKind, K::Count> Names{{
    {"fighter", K::SwoopingFighter},     {"gunpod", K::GunPod},
    {"gunship", K::SideGunship},         {"diver", K::Diver},
    {"heavy", K::FallingHeavy},          {"fighter-spawner", K::FighterSpawner},
    {"warning", K::WarningMarker},       {"beam-midboss", K::BeamMidBoss},
    {"drifter", K::BackgroundDrifter},   {"carrier", K::Carrier},
    {"boss1", K::Stage1Boss},            {"weapon-item", K::WeaponItem},
    {"bonus-item", K::BonusItem},        {"hulk-small", K::HeavyDrifterS},
    {"hulk-medium", K::HeavyDrifterM},   {"hulk-large", K::HeavyDrifterL},
    {"launcher", K::Launcher},           {"stalker-spawner", K::StalkerSpawner},
    {"minelayer", K::MineLayer},         {"mine", K::HomingMine},
    {"fastdiver", K::FastDiver},         {"boss2", K::Stage2Boss},
    {"crosser", K::SideCrosser},         {"ring-spawner", K::RingSpawner},
    {"shard-midboss", K::ShardMidBoss},  {"final-boss", K::FinalBoss},
    {"dart", K::Dart},                   {"stalker", K::Stalker},
    {"shard", K::Shard},                 {"ringmine", K::RingMine},
}};

}  // namespace

std::optional<std::uint8_t> KindByName(std::string_view Name) {
    for (const TNamedKind& n : Names)
        if (n.Name == Name) return n.Kind;
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(Name.data(), Name.data() + Name.size(), v);
    if (ec == std::errc{} && end == Name.data() + Name.size() && v < K::Count) return static_cast<std::uint8_t>(v);
    return std::nullopt;
}

std::string_view KindName(std::uint8_t Kind) {
    for (const TNamedKind& n : Names)
        if (n.Kind == Kind) return n.Name;
    return "?";
}

}  // namespace mapc
