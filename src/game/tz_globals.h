#pragma once
// The game-state globals of the scene machine, and the options copied from the startup
// dialog. Every Part of the game flow and every game object reads and writes these.

#include <cstdint>
#include <string>

#include "core/random.h"
#include "game/tz_state.h"

namespace tz {

// Values of SceneState.
namespace Scene {
inline constexpr std::uint8_t NotStarted = 0;
inline constexpr std::uint8_t TitleSetup = 1;  // user event: build the title, save the replay
inline constexpr std::uint8_t Title = 2;       // waits for fire; user event: new game
inline constexpr std::uint8_t StageSetup = 3;  // user event: load the stage
inline constexpr std::uint8_t Play = 4;        // game step; user event: boss bank and music
inline constexpr std::uint8_t StageClear = 5;  // tally; user event: stop the music
inline constexpr std::uint8_t StageFade = 6;   // fade, then 3, 8 or 1
inline constexpr std::uint8_t TimeOver = 7;    // game step goes on; 280 ticks, then 1
inline constexpr std::uint8_t EndingSetup = 8; // user event: load the ending
inline constexpr std::uint8_t Credits = 9;     // credits roll; 4400 ticks, then 1
}  // namespace Scene

// Ticks per second of the game (the engine's stored ProcessPerSec).
inline constexpr std::int32_t ProcessPerSec = 70;
inline constexpr std::int32_t TimeOverTicks = 280;
inline constexpr std::int32_t CreditsTicks = 4400;

// The scene machine's part of the game state (tz_state.h).
inline std::uint8_t& SceneState = GameState.Play.SceneState;     // current scene
inline std::int32_t& SceneTimer = GameState.Play.SceneTimer;     // ticks since the scene began
inline std::int32_t& Score = GameState.Play.Score;
inline std::int32_t& HiScore = GameState.Records.HiScore;        // persisted by the settings
inline std::int32_t& StageNo = GameState.Play.StageNo;           // 1..3
inline std::int32_t& TimeLeft = GameState.Play.TimeLeft;         // ticks of the whole game; -1 before the launch
inline std::int32_t& DeadTimer = GameState.Play.DeadTimer;       // 0 while the ship lives, then counts up
inline std::int32_t& BossLife = GameState.Play.BossLife;         // final boss strength; 9999 when absent
inline std::int32_t& BonusRate = GameState.Play.BonusRate;       // bonus multiplier 0..8
inline std::uint8_t& MusicPiece = GameState.Play.MusicPiece;     // the piece started (Music::...)
inline std::int32_t& MusicTicks = GameState.Play.MusicTicks;     // ticks since it started
inline std::uint8_t& FillColour = GameState.Play.FillColour;     // clears the screen between scenes

// Drawing state, outside the game state: frames drawn since program start, and the drawing
// generator (star colours, quake jitter, lightning, sparks).
extern std::int32_t RefreshCount;
inline TRandom DrawRandom{};

// Options copied from the startup dialog.
extern bool FullScreen;
extern bool UseVram;
extern bool ReverseSound;
extern bool EnableBGM;
extern bool EnableSE;
// Frames between ticks show the moving things blended between the last two ticks (tz_smooth.h).
extern bool SmoothMotion;
extern std::int32_t StartFrom;      // 0..5: start, stage 1 mid-boss, stage 2, 3, stage 3 boss, credits

// Every scene change also restarts the scene clock.
inline void SetScene(std::uint8_t scene) {
    SceneState = scene;
    SceneTimer = 0;
}

// Asks for the game window's user event (the scene set-up) after the next frame: the
// request is part of the game state and leaves through the tick's outlet (tz_outlet.h).
void RequestUserEvent();
extern std::int32_t UserEventRequests;  // requests passed on, for tests and diagnostics

}  // namespace tz
