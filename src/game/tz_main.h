#pragma once
// The game window: it owns the engine component `Sprite`, names the game's object list as
// `UnitList` (the list is tz_unitlist's, its order part of the game state; music is the audio
// unit's), and answers the engine's six events. The whole game flow is the
// scene machine over SceneState (tz_globals.h): per-tick logic in SpriteProcess, per-frame
// drawing in SpriteRefresh and one-shot scene set-up in SpriteUserEvent, which the engine
// runs while its loop is paused.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collision/list.h"
#include "core/bank_list.h"
#include "engine/sprite_ex.h"
#include "game/tz_replay.h"
#include "game/tz_screenshot.h"
#include "game/tz_smooth.h"
#include "game/tz_state.h"
#include "game/tz_unitlist.h"

namespace tz {

// The window's banks are the game's bank list (BankFiles, core/bank_list.h); the bank of
// stage n is bank n + 1.
inline constexpr std::uint8_t BankSystem = 0, BankGame = 1, BankStage3 = 4, BankBossA = 5, BankBossB = 6, BankTitle = 7,
                              BankEnding = 8;

// One row of the credits: caption pattern and two name patterns, -1 = none.
struct TCreditsRow {
    std::int16_t Caption, Name1, Name2;
};
inline constexpr std::array<TCreditsRow, 7> CreditsTable{{
    {253, -1, -1}, {254, 259, 260}, {255, 259, 260}, {256, 261, -1}, {257, 260, -1}, {258, 262, -1}, {-1, 264, 263}}};
inline constexpr std::int32_t CreditsRowTicks = 600;
inline constexpr std::int32_t CreditsShipTick = 4100;   // the ship flies off through the ending
inline constexpr std::int32_t CreditsFadeTick = 4144;
inline constexpr std::int16_t CreditsShipClimb = 10;   // the ship's rise per tick as it flies off
inline constexpr std::int32_t CreditsBeamTicks = 100;  // the closing beam narrows over these

// The 640x480 backdrop surface: the title picture, then the play field's background. A
// managed engine surface created when the engine starts and released when it terminates; its
// picture is kept across focus loss and screen changes, since a scene loads it only at its
// set-up.
extern engine::SurfacePtr BgSurface;

// Set by a tick that ran the per-tick game step (the play scenes); the headless runner takes
// its state hash after the last such tick.
inline bool& TickRanGameStep = GameState.Play.TickRanGameStep;

// The title's letters: how many copies of letter i (0..3) the title shows at SceneTimer
// (0 = not yet shown, at most 5), and the y of copy j.
std::int32_t TitleLetterCopies(std::int32_t i, std::int32_t sceneTimer);
std::int32_t TitleLetterY(std::int32_t i, std::int32_t j, std::int32_t sceneTimer);

class TForm1 {
public:
    explicit TForm1(plat::Platform& platform);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Showing the window starts the engine, which fires SpriteStartSystem, SpriteScreenChanged
    // and then the stored user event (the title set-up).
    void Show();

    engine::TSpriteEx Sprite;
    TList& UnitList;  // the game's object list (tz_unitlist.h)
    std::string Caption = "Korrindal";

    // The engine's events.
    void SpriteStartSystem();
    void SpriteProcess();
    void SpriteRefresh();
    void SpriteUserEvent();
    void SpriteScreenChanged();
    void SpriteTerminateSystem();
    void FormClose() {}

    // The window's side of the outlet (tz_outlet.h): the game reaches these only through its
    // outlet, so they have names of their own (an unqualified call inside the window's code
    // reaches the outlet, never the engine directly).
    // Asks the engine to run SpriteUserEvent after the next frame.
    void ArmUserEvent();
    // Clears the primary and the back buffer to one palette index.
    void ClearBothScreens(std::uint8_t colour);

    // Loads a replay for playback (the startup dialog, the command line, --replay).
    TReplayResult LoadReplay(const std::string& FileName);
    // Reports what failed in saving a finished game (SaveFinishedGame) on stderr and, the
    // first failure only, in the window's caption; the game goes on.
    void ReportSaveFailures(const TFinishedGameSave& saved);

    // Called once the settings must be written (termination); set by the startup dialog.
    engine::TSimpleEvent WriteSettings;
    // Called to close the startup dialog, which ends the program.
    engine::TSimpleEvent CloseDialog;

    // The first replay-save failure, shown in the caption (empty when none).
    const std::string& SaveError() const { return FSaveError; }

    // ---- The player's controls of the window (tz_main_controls.cpp) ------------------------
    // A key or controller button pressed in the window (the engine's OnKeyDown): the pause
    // keys (P, the controller's Start) and the screenshot key (F12), as bound.
    void SpriteKeyDown(const plat::WindowEvent& Event);
    // Pauses or resumes a game or a playback (scenes 4 to 9): while paused no game tick runs,
    // so neither the game nor its recording moves on, and "PAUSE" is shown over the field.
    void TogglePause();
    bool GamePaused() const { return FGamePaused; }
    // During a playback, while its key is held (Tab, the controller's right shoulder), each
    // timer tick runs this many game ticks.
    static constexpr int FastForwardTicks = 4;
    // Writes the frame shown last as a PNG where the game writes its files; the caption says
    // where (or why not).
    TScreenshotResult TakeScreenshot();

    // ---- The replay theatre's side of the window (set by the windowed program) --------------
    // A key or controller button pressed in the window goes here first; true when it was
    // taken (a playback's own keys), so the window's controls do not see it.
    std::function<bool(const plat::WindowEvent&)> PlaybackKeyDown;
    // Draws over the finished frame (refresh, engine locked).
    engine::TSimpleEvent DrawPlaybackOverlay;
    // A replay was loaded for playback (its file named); before the game window plays it.
    std::function<void(const std::string&)> ReplayLoaded;
    // The playback's speed while it plays: `repeat` game ticks per timer tick, or one game
    // tick every `divide` timer ticks. Fast-forward's key wins while held. Main thread.
    void SetPlaybackRate(int repeat, int divide) {
        FPlaybackRepeat = repeat;
        FPlaybackDivide = divide;
    }
    // What the engine's banks, backdrop and palette show for the state (tz_scenery.cpp): the
    // scene's kind, the stage and the final boss's form.
    std::uint32_t SceneryKey() const;
    // The game state jumped (a seek): nothing is blended from before the jump, a paused frame
    // is drawn again, the palette is the scene's, and the engine's banks and backdrop are made
    // the scene's when its key was not `sceneryBefore` or a scene set-up ran on the way. Main
    // thread, no tick running.
    void AfterJump(std::uint32_t sceneryBefore, bool setUpsRan);

private:
    void TitleSetup();
    void NewGame();
    void StageSetup();
    void BossBankSwap();
    void EndingSetup();
    void PlayProcess();
    void CreditsProcess();
    void DrawTitle();
    void DrawCredits();
    // The engine's side of the title's and of a stage's set-up: banks, backdrop, palette.
    bool DressTitle();
    bool DressStage();
    // Sets the engine's ticks per timer tick from the fast-forward keys (each frame).
    void UpdateFastForward();
    void ShowCaption(const std::string& text);

    std::string FSaveError;
    bool FGamePaused = false;
    bool FPauseFrameDrawn = false;   // the paused frame is in the back buffer
    // The tick and the moment the frame-counted animations last advanced on.
    std::uint64_t FAnimationTick = 0;
    std::int64_t FAnimationUs = 0;
    int FPlaybackRepeat = 1;         // SetPlaybackRate
    int FPlaybackDivide = 1;
    // The credits picture's own ship: drawing moves and animates this, never the game's.
    TCharacter FCreditsShip{};
    // The positions the last tick started from, for frames drawn between ticks.
    std::unique_ptr<TSmoothMotion> FSmooth = std::make_unique<TSmoothMotion>();
};

// The one game window while it exists; the game's procedures reach the engine through it.
extern TForm1* Form1;

}  // namespace tz
