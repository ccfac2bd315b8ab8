#pragma once
// The object list: every collidable game object's TCharacter in one array sorted by y.
// Objects move by neighbour swaps that keep the order; a moving object finds its contacts by
// sweeping the neighbours within its Range, filtered by a per-type mask; drawing walks the
// array in screen order. The list never allocates or frees records: it refers to records of
// the game's fixed tables (and to its own two sentinels) and writes their list fields.
//
// The list's moving part (fill, sentinels, slots) can live inside the game's state record
// (Attach), so that copying that record saves and restores the list's order too.
//
// Threads: the list takes no lock. The tick moves and sweeps, the refresh draws; the engine's
// mutex keeps them apart.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "collision/proc_ref.h"
#include "core/fixed_math.h"
#include "engine/geometry.h"
#include "engine/sprite_rec.h"

namespace tz {

// Character types: the row of the CheckType table a record uses, and its bit in other rows.
// Values 6..15 are valid but unused by the game.
enum class TCharType : std::uint8_t { ctOwnShip = 0, ctOwnShot = 1, ctEnemy = 2, ctEnemyShot = 3, ctDying = 4, ctItem = 5 };

inline constexpr int CharTypeCount = 16;

// Bits of the ContinueFlags byte a check procedure may set: any non-zero value ends the
// sweep; 2 also removes the moving record, 4 the partner it was called with.
inline constexpr std::uint8_t cfStop = 1;
inline constexpr std::uint8_t cfRemoveOwn = 2;
inline constexpr std::uint8_t cfRemoveDst = 4;

// Visibility that DrawArea skips.
inline constexpr std::int8_t HiddenVisibility = -10;

struct TCharacter;
// Called on the moving record when it touches a partner its mask selects.
using TCheckEvent = void (*)(TCharacter& ownObject, TCharacter& dstObject, std::uint8_t& ContinueFlags);
// Draws the record.
using TDrawEvent = void (*)(TCharacter& ownObject);
using TCheckRef = TProcRef<TCheckEvent>;
using TDrawRef = TProcRef<TDrawEvent>;

// The part of every listed game record that the list reads and writes. Game records (ship,
// shots, enemies) derive from it and add their own fields; check and draw procedures get the
// record back and cast it to its own type.
//
// The record is plain bytes without padding (the spare byte fills the one gap), so a table
// of them can be copied, compared and hashed as it lies in memory.
struct TCharacter {
    std::int16_t Index = -1;      // slot in the list (1..); < 1 = not listed (free in game tables)
    TCharType CharType = TCharType::ctOwnShip;
    std::int8_t Visibility = 0;   // HiddenVisibility: not drawn
    std::int16_t Radius = 0;      // hit circle, pixels
    std::int16_t Range = 0;       // how far along y the sweep looks, pixels
    std::int16_t Margin = 0;      // half extent by which the drawing area is widened
    std::int16_t Speed = 0;       // along Direction, 1/64 pixel per tick (Advance)
    TCheckRef OnCheck = nullptr;  // none: the record never sweeps
    TDrawRef OnDraw = nullptr;    // none: never drawn
    std::uint8_t Rotation = 0;    // drawing angle
    std::uint8_t Spare = 0;
    std::int32_t Timer = 0;       // the game's per-object counter (the list does not touch it)
    std::int32_t X = 0;           // 16.16
    std::int32_t Y = 0;           // 16.16, the sort key
    std::int16_t Pattern = 0;     // sprite pattern; negative = nothing to draw
    std::uint16_t Angle = 0;      // heading 8.8; its high byte is Direction

    std::int16_t XPos() const { return WholePart(X); }
    std::int16_t YPos() const { return WholePart(Y); }
    // Sets the whole-pixel part and keeps the fraction. Setting YPos of a listed record does
    // not re-sort it; move listed records through the list.
    void SetXPos(std::int16_t v) { X = WithWholePart(X, v); }
    void SetYPos(std::int16_t v) { Y = WithWholePart(Y, v); }
    std::uint8_t Direction() const { return static_cast<std::uint8_t>(Angle >> 8); }
    // Sets the high byte of Angle and keeps its fraction.
    void SetDirection(std::uint8_t d) { Angle = static_cast<std::uint16_t>((d << 8) | (Angle & 0xFF)); }
    // The part the engine's sprite drawing and hit test take.
    engine::TSpriteRec SpriteRec() const { return {X, Y, Rotation, Pattern}; }
};
static_assert(std::has_unique_object_representations_v<TCharacter>, "TCharacter must have no padding");

enum class TSortDirection : std::uint8_t { sdVertical, sdHorizontal };

// One slot of the list: where its record lies, as a byte distance from the list's base plus
// one (0 = empty). A list kept inside a larger record measures from that record's start, so
// its slots hold the same numbers in every run and a copy of the record restores them.
using TListSlot = std::uint64_t;

// The moving part of a list besides its slots: fill, capacity and the two sentinels.
struct TListCore {
    std::int32_t Last = -1;       // index of the tail sentinel; -1 without slots
    std::int32_t Capacity = -1;   // the value of Last at which the list is full
    std::int32_t SlotCount = 0;   // slots in use (Max + 2)
    std::int32_t Spare = 0;
    TCharacter Head{};
    TCharacter Tail{};
};
static_assert(std::has_unique_object_representations_v<TListCore>);

class TList {
public:
    TList();
    ~TList();
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    // Stored properties.
    TSortDirection SortDirection = TSortDirection::sdVertical;  // kept; the order is always by y
    std::int32_t Max = 1024;       // game records the list can hold
    std::int32_t WrapX = 0;        // wrap periods in pixels, 0 = none
    std::int32_t WrapY = 0;
    std::uint16_t CheckTypes = 0;  // stored, not read at run time
    std::array<std::uint16_t, CharTypeCount> CheckType{};  // bit t of row a: type a tests type t
    std::array<std::string, CharTypeCount> TypeNames;      // not used at run time
    TCheckEvent DefaultCheck = nullptr;  // installed by AddCharacter in mode 0
    TDrawEvent DefaultDraw = nullptr;

    // After the stored properties are set: reads every mask back through GetCheckType and
    // builds the slots.
    void Loaded();

    // (Re)builds an empty list with room for Max records; no slots when Max < 1, or when Max
    // records do not fit the attached storage. Records that were listed are dropped without
    // touching their Index.
    void SetupSlots();

    // Keeps the list's moving part in storage that belongs to someone else (the game's state
    // record): Core, SlotRoom slots from Slots, distances measured from Base. Until then, and
    // after Detach, the list keeps its own storage. Either leaves the list empty; Detach does not
    // touch the storage it leaves.
    void Attach(TListCore& Core, TListSlot* Slots, std::int32_t SlotRoom, const void* Base);
    void Detach();

    // Fills the list fields of Rec (X, Y in pixels; Angle = Dir * 256; Rotation = 0) and
    // inserts it. Mode 0 installs DefaultCheck/DefaultDraw where assigned, mode 1 clears both
    // procedures, any other mode keeps what the caller set. False when the list is full.
    bool AddCharacter(TCharacter& Rec, std::int16_t X, std::int16_t Y, std::uint8_t Dir, std::int16_t Pattern,
                      TCharType CharType, std::int16_t Radius, std::int16_t Range, std::int16_t Margin,
                      std::int8_t Visibility, std::uint8_t Mode);
    // Inserts a filled record before any listed record with an equal or greater Y. False (and
    // nothing changed) when the list is full or has no slots, when Rec is already listed, or
    // when its Y lies beyond the tail sentinel.
    bool InsertCharacter(TCharacter& Rec);
    // Takes Rec out (Index = -1). False when it is not listed.
    bool RemoveCharacter(TCharacter& Rec);

    // Moves Rec by (DX, DY) in 16.16 and turns it by Turn (8.8), keeping the order; a move
    // that would carry Y past a sentinel keeps Y. No collision test.
    void MoveCharacter(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn);
    // MoveCharacter, then the collision sweep when Rec has a check procedure.
    void MoveCheck(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn);
    // MoveCheck by Speed along Direction (Speed 64 = one pixel).
    void Advance(TCharacter& Rec);
    // Moves DstRec directly away from OwnRec by Strength pixels, without a collision test.
    // The direction comes from GetDirection of the 16.16 differences, whose DY * 1024 wraps
    // in 32 bits once the vertical distance reaches 32 pixels; replays depend on that.
    void PushAway(TCharacter& OwnRec, TCharacter& DstRec, std::int32_t Strength);

    // Calls OnDraw of the listed records inside Area in ascending y, starting from slot Start
    // (walked back over records that reach into the area; <= 0 starts at slot 1).
    void DrawArea(std::int16_t Start, const engine::TRect& Area);

    // Mask row T (T and 127); rows beyond the table are empty.
    std::uint16_t GetCheckType(std::uint8_t T) const;

    // The stored "CheckType" data: the 16 masks as little-endian words, 32 bytes.
    std::array<std::uint8_t, 2 * CharTypeCount> WriteCheckTypeData() const;
    // Fills the masks from stored data; false (table unchanged) unless exactly 32 bytes.
    bool ReadCheckTypeData(const std::uint8_t* data, std::size_t size);

    // Index of the tail sentinel (-1 without slots); Last - 1 records are listed.
    std::int32_t Last() const { return FCore->Last; }
    // The value of Last at which the list is full (Max + 1; -1 without slots).
    std::int32_t Capacity() const { return FCore->Capacity; }
    std::int32_t Count() const { return FCore->Last > 0 ? FCore->Last - 1 : 0; }
    bool HasSlots() const { return FCore->Last >= 0; }
    // Slot k (0 = head sentinel, Last = tail sentinel); nullptr outside 0..Last.
    TCharacter* Slot(std::int32_t k) const;
    // True when Rec occupies its slot in this list.
    bool Listed(const TCharacter& Rec) const;

private:
    void moveRecord(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn);
    void sweep(TCharacter& Rec);
    bool contactCall(TCharacter& Rec, TCharacter& P, std::uint8_t& flags);
    void swapSlots(std::int32_t a, std::int32_t b);
    void placeAt(TCharacter& Rec, std::int32_t k);
    void dropSlots();

    TCharacter& at(std::int32_t k) const { return *decode(FSlots[k]); }
    void put(std::int32_t k, const TCharacter* Rec) { FSlots[k] = encode(Rec); }
    TListSlot encode(const TCharacter* Rec) const {
        return Rec == nullptr ? 0 : static_cast<TListSlot>(reinterpret_cast<std::uintptr_t>(Rec) - FBase + 1);
    }
    TCharacter* decode(TListSlot v) const {
        return v == 0 ? nullptr : reinterpret_cast<TCharacter*>(static_cast<std::uintptr_t>(v) - 1 + FBase);
    }

    // The storage in use: the list's own or the attached one.
    TListCore* FCore;
    TListSlot* FSlots = nullptr;
    std::int32_t FSlotRoom = 0;
    std::uintptr_t FBase = 0;
    // The list's own storage (its slots allocated by SetupSlots while nothing is attached).
    TListCore FOwnCore;
    std::unique_ptr<TListSlot[]> FOwnSlots;
    std::int32_t FOwnRoom = 0;
    bool FAttached = false;
};

}  // namespace tz
