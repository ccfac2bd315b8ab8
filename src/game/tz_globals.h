#pragma once
// The game-state globals of the scene machine, and the options copied from the startup
// dialog. Every Part of the game flow and every game object reads and writes these.

#include <cstdint>
#include <string>

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

extern std::uint8_t SceneState;     // current scene
extern std::int32_t SceneTimer;     // ticks since the scene began (0 at every change)
extern std::int32_t RefreshCount;   // frames drawn since program start
extern std::int32_t Score;
extern std::int32_t HiScore;        // persisted by the settings
extern std::int32_t StageNo;        // 1..3
extern std::int32_t TimeLeft;       // ticks of the whole game's budget; -1 before the launch
extern std::int32_t DeadTimer;      // 0 while the ship lives, then counts up
extern std::int32_t BossLife;       // final boss strength; 9999 when absent
extern std::int32_t BonusRate;      // bonus multiplier 0..8
extern bool BgmPlaying;             // the music player has a piece open and playing
extern std::uint8_t FillColour;     // palette index that clears the screen between scenes

// Options copied from the startup dialog.
extern bool FullScreen;
extern bool UseVram;
extern bool ReverseSound;
extern bool EnableBGM;
extern bool EnableSE;
extern std::int32_t StartFrom;      // 0..5: start, stage 1 mid-boss, stage 2, 3, stage 3 boss, credits

// Every scene change also restarts the scene clock.
inline void SetScene(std::uint8_t scene) {
    SceneState = scene;
    SceneTimer = 0;
}

// Asks the engine to run the game window's user event (scene set-up) after the next frame.
// The game window installs the requester when it is created; without one (a bare test of
// game code) requests are only counted.
using TUserEventRequester = void (*)();
void SetUserEventRequester(TUserEventRequester requester);
void RequestUserEvent();
extern std::int32_t UserEventRequests;  // requests made, for tests and diagnostics

// The palette fades of the game window's engine (level 0 = the stored palette, 256 = all
// white or all black); nothing while no game window runs.
void FadeToWhite(std::int32_t Level);
void FadeToBlack(std::int32_t Level);

// The game window's music player: start a piece ("BGM1", "Boss", ...; the .mid file is found
// by DataPath), stopping the one playing; stop it. Nothing while no game window runs.
void StartMusic(const std::string& Name);
void StopMusic();

}  // namespace tz
