#include "game/tz_enemy.h"

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_enemy_carrier.h"
#include "game/tz_gamemain.h"
#include "game/tz_map.h"
#include "game/tz_globals.h"
#include "game/tz_items.h"
#include "game/tz_unitlist.h"

namespace tz {


namespace {

constexpr bool T = true, F = false;
constexpr std::int32_t NoTimer = 0;

}  // namespace

// Start values of the 30 kinds: Radius / Range / Margin, Pattern, Direction (before any
// kind-specific rule), whether the Timer is set and to what, Speed, Life, collision and
// drawing. Positions, aimed or random directions, spawn sounds and extra fields are the
// kinds' Start procedures.
const std::array<TEnemyKind, 30> EnemyKinds = {{
    /* 0 swooping fighter   */ {40, 40, 40, 128, 64, T, 80, 600, 1, T, T, nullptr, nullptr},
    /* 1 gun pod            */ {40, 40, 40, 132, 64, T, 80, 30, 1, T, T, nullptr, nullptr},
    /* 2 side gunship       */ {60, 60, 60, 135, 64, T, 200, 440, 8, T, T, nullptr, nullptr},
    /* 3 diver              */ {30, 30, 30, 138, 64, T, 60, 600, 2, T, T, nullptr, nullptr},
    /* 4 falling heavy      */ {80, 80, 80, 144, 64, T, 100, 500, 2, T, T, nullptr, nullptr},
    /* 5 spawner of 0       */ {0, 0, 0, 124, 64, T, 70, 0, 99, F, F, nullptr, nullptr},
    /* 6 warning marker     */ {0, 0, 0, 124, 64, T, 30, 0, 99, F, F, nullptr, nullptr},
    /* 7 mid-boss (beam)    */ {90, 90, 90, 203, 64, F, NoTimer, 512, 999, T, T, nullptr, nullptr},
    /* 8 background drifter */ {0, 0, 100, 219, 64, F, NoTimer, 200, 127, F, T, nullptr, nullptr},
    /* 9 carrier            */ {0, 0, 200, 220, 64, F, NoTimer, 1024, 127, F, T, StartCarrier, StepCarrier},
    /* 10 stage-1 boss      */ {120, 120, 120, 221, 64, F, NoTimer, 500, 220, T, T, nullptr, nullptr},
    /* 11 weapon item       */ {40, 40, 40, 95, 64, F, NoTimer, 64, 127, T, T, StartWeaponItem, StepWeaponItem},
    /* 12 bonus item        */ {40, 40, 40, 47, 64, F, NoTimer, 48, 127, T, T, StartBonusItem, StepBonusItem},
    /* 13 heavy drifter S   */ {70, 70, 70, 224, 64, F, NoTimer, 128, 300, T, T, nullptr, nullptr},
    /* 14 heavy drifter M   */ {100, 100, 100, 225, 64, F, NoTimer, 64, 300, T, T, nullptr, nullptr},
    /* 15 heavy drifter L   */ {100, 100, 100, 226, 64, F, NoTimer, 48, 300, T, T, nullptr, nullptr},
    /* 16 launcher          */ {100, 100, 100, 227, 192, F, NoTimer, 512, 5, T, T, nullptr, nullptr},
    /* 17 spawner of 27     */ {0, 0, 0, 124, 64, T, 70, 0, 99, F, F, nullptr, nullptr},
    /* 18 mine layer        */ {60, 60, 60, 230, 64, T, 40, 512, 4, T, T, nullptr, nullptr},
    /* 19 homing mine       */ {10, 20, 10, 231, 64, T, 210, 0, 1, T, T, nullptr, nullptr},
    /* 20 fast diver        */ {60, 60, 60, 233, 64, T, 40, 700, 1, T, T, nullptr, nullptr},
    /* 21 stage-2 boss      */ {100, 100, 100, 234, 192, F, NoTimer, 128, 280, T, T, nullptr, nullptr},
    /* 22 side crosser      */ {100, 100, 100, 239, 64, F, NoTimer, 512, 8, T, T, nullptr, nullptr},
    /* 23 ring spawner      */ {0, 0, 0, 124, 64, T, 79, 0, 99, F, F, nullptr, nullptr},
    /* 24 teleporting boss  */ {90, 90, 90, 207, 192, T, 70, 0, 100, T, T, nullptr, nullptr},
    /* 25 final boss        */ {400, 400, 400, 244, 64, F, NoTimer, 128, 950, T, T, nullptr, nullptr},
    /* 26 dart              */ {10, 20, 10, 109, 64, T, 70, 256, 1, T, T, nullptr, nullptr},
    /* 27 stalker           */ {10, 20, 10, 229, 64, F, NoTimer, 300, 1, T, T, nullptr, nullptr},
    /* 28 shard             */ {30, 30, 30, 243, 64, T, 12, 512, 1, T, T, nullptr, nullptr},
    /* 29 ring mine         */ {30, 30, 30, 242, 64, T, 30, -64, 7, T, T, nullptr, nullptr},
}};

void DecayPush(TEnemy& e, std::int32_t Decay) {
    Approach(e.Work1, 0, Decay);
    Approach(e.Work2, 0, Decay);
}

void SpawnEnemy(std::int32_t Entry, std::int32_t Param) {
    if (Entry < 0 || Entry >= SpawnListSize) return;
    const TSpawnEntry& entry = SpawnList[static_cast<std::size_t>(Entry)];
    if (entry.Kind >= EnemyKinds.size()) return;
    const TEnemyKind& kind = EnemyKinds[entry.Kind];
    if (!kind.Step) return;  // this kind is not built yet

    TEnemy* e = nullptr;
    for (TEnemy& r : Enemies)
        if (r.Index < 0) { e = &r; break; }
    if (!e) return;

    e->SubType = entry.Kind;
    e->State = TPhase::phEnter;
    e->SetXPos(entry.X);
    e->SetYPos(entry.Y);
    e->SetDirection(192);
    e->Work1 = 0;
    e->Work2 = 0;
    e->Flash = 0;
    e->Param1 = static_cast<std::uint8_t>(entry.Param & 0xFF);
    e->Param2 = static_cast<std::uint8_t>(entry.Param >> 8);

    e->Pattern = kind.Pattern;
    e->SetDirection(kind.Direction);
    if (kind.SetsTimer) e->Timer = kind.Timer;
    e->Speed = kind.Speed;
    e->Life = kind.Life;
    if (kind.Start) kind.Start(*e, Param);

    if (!UnitList.AddCharacter(*e, e->XPos(), e->YPos(), e->Direction(), e->Pattern, TCharType::ctEnemy, kind.Radius, kind.Range,
                               kind.Margin, 0, 0))
        return;  // the list is full: the record stays free
    e->OnCheck = kind.Collides ? CheckHit : nullptr;
    e->OnDraw = kind.Drawn ? DrawCharacter : nullptr;
}

void MoveEnemies() {
    for (TEnemy& e : Enemies) {
        if (e.Index <= 0) continue;
        if (const TEnemyStep step = EnemyKinds[e.SubType % EnemyKinds.size()].Step) step(e);
        e.Timer -= 1;
        if (e.Flash > 0) e.Flash -= 1;
        if (e.Index <= 0) continue;  // the step removed it
        const std::int16_t x = e.XPos(), y = e.YPos();
        if (y > 600 || (y < -120 && e.State != TPhase::phEnter) || x < -120 || x > 760) {
            UnitList.RemoveCharacter(e);
            continue;
        }
        const std::uint8_t dir = e.Direction();
        UnitList.MoveCheck(e, WrapAdd(WrapMul(Cos(dir), e.Speed), e.Work1), WrapAdd(WrapMul(Sin(dir), e.Speed), e.Work2),
                           0);
    }
}

void GroupDown(std::int32_t i) {
    if (i < 0 || i >= EnemyCount) return;
    TEnemy& e = Enemies[static_cast<std::size_t>(i)];
    std::int32_t bonus = 0;
    for (const std::uint8_t g : {e.Param1, e.Param2}) {
        if (g == 0) continue;
        GroupCount[g] = static_cast<std::int16_t>(GroupCount[g] - 1);
        if (GroupCount[g] == 0) bonus += GroupBonus[g];
    }
    if (bonus >= 1) {
        ScratchEntry = TSpawnEntry{e.XPos(), e.YPos(), 0, EnemyKind::BonusItem};
        SpawnEnemy(ScratchEntryIndex, bonus);
    }
}

}  // namespace tz
