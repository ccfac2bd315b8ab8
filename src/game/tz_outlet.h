#pragma once
// The one way out of a tick: everything the game does that is not a change of its own state
// record (sounds, music, palette fades, screen clears, scene set-up requests) goes through
// the current outlet. The game window installs one that reaches its engine, sound and music;
// without a window nothing leaves but a count of the scene requests. A look-ahead or a
// repeated tick silences the outlet (TSilencedOutlet), so a simulated tick plays nothing and
// changes nothing outside the record.

#include <cstdint>

#include "game/tz_kinds.h"

namespace tz {

struct TOutlet {
    void (*PlaySE)(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate);
    void (*StartMusic)(std::uint8_t Piece);       // a Music:: piece; the previous one is already stopped
    void (*StopMusic)();
    void (*FadeToWhite)(std::int32_t Level);
    void (*FadeToBlack)(std::int32_t Level);
    void (*FillScreens)(std::uint8_t Colour);     // both screens in one palette index
    void (*UserEvent)();                          // run the scene set-up after the next frame
    // The state was put back (a replay's seek): piece Piece (None: silence) from Ticks ticks
    // after its start, unless it plays there already.
    void (*ResumeMusic)(std::uint8_t Piece, std::int32_t Ticks);
};

// The outlet in use (never null).
const TOutlet& Outlet();
// Installs an outlet (nullptr: the default one). Not synchronised: set it while no tick runs.
void SetOutlet(const TOutlet* outlet);
// True while a TSilencedOutlet is alive.
bool OutletSilenced();

// While alive, every effect of the game is dropped.
class TSilencedOutlet {
public:
    TSilencedOutlet();
    ~TSilencedOutlet();
    TSilencedOutlet(const TSilencedOutlet&) = delete;
    TSilencedOutlet& operator=(const TSilencedOutlet&) = delete;

private:
    const TOutlet* FSaved;
};

// The calls game code makes, by the names the game uses.

// Starts sound effect Index (a Sound:: slot) at Pan, VolumeStep and Rate (percent).
void PlaySE(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate);
// The palette fades of the game window (level 0 = the stored palette, 256 = all white or
// all black).
void FadeToWhite(std::int32_t Level);
void FadeToBlack(std::int32_t Level);
// Clears both screens to one palette index.
void FillScreens(std::uint8_t Colour);
// Starts a piece of music (Music::Stage1, Music::Boss, ...), stopping the one playing; stops
// it. The game state's MusicPiece and MusicTicks follow both whatever the outlet does with
// them, so the state is the same with music on or off, with a piece's file missing, and with
// the outlet silenced: whether a piece is heard (the music player's BgmPlaying) is the
// outlet's business.
void StartMusic(std::uint8_t Piece);
void StopMusic();
// After the game state was restored and played forward silenced (a seek in a replay): the
// music heard follows the state, its MusicPiece from MusicTicks on, or silence.
void FollowMusic();
// The piece of stage n (1..3).
inline std::uint8_t StageMusic(std::int32_t n) { return static_cast<std::uint8_t>(Music::Stage1 + n - 1); }

}  // namespace tz
