// The game window's controls for the player, beside the input byte: pausing, fast-forward
// and the speed of a playback, and screenshots (a playback's own keys go to the theatre's
// handler first). None of them reaches the game state: a pause holds the
// engine's ticks (and the sound), fast-forward runs more of them per timer tick, a
// screenshot reads the frame that was shown.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "core/ui_language.h"
#include "game/tz_gamepad.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_keys.h"
#include "game/tz_main.h"
#include "game/tz_sound.h"

namespace tz {
namespace {

// The scenes of a game under way (play, stage clear, fade, time over, credits).
bool GameScene(std::uint8_t scene) { return scene >= Scene::Play && scene <= Scene::Credits; }

bool PlayScene(std::uint8_t scene) {
    return scene == Scene::Play || scene == Scene::StageClear || scene == Scene::StageFade || scene == Scene::TimeOver;
}

}  // namespace

void TForm1::SpriteKeyDown(const plat::WindowEvent& Event) {
    using plat::WindowEventType;
    if (PlaybackKeyDown && PlaybackKeyDown(Event)) return;
    if (Event.type == WindowEventType::KeyDown) {
        if (KeyBound(Event.key, TAction::Pause)) TogglePause();
        else if (KeyBound(Event.key, TAction::Screenshot)) TakeScreenshot();
    } else if (Event.type == WindowEventType::PadButtonDown) {
        if (PadBound(Event.button, TAction::Pause)) TogglePause();
        else if (PadBound(Event.button, TAction::Screenshot)) TakeScreenshot();
    }
}

void TForm1::TogglePause() {
    // The scene is the tick's to change: read it with the engine locked.
    std::uint8_t scene = 0;
    {
        std::lock_guard lock(Sprite.EngineLock());
        scene = SceneState;
    }
    if (!FGamePaused && !GameScene(scene)) return;
    FGamePaused = !FGamePaused;
    FPauseFrameDrawn = false;
    Sprite.SetProcessHold(FGamePaused);
    HoldSoundOutput(FGamePaused);   // the music and the effects wait too
    if (FGamePaused) Sprite.SetProcessRepeat(1);
}

void TForm1::UpdateFastForward() {
    const plat::Input* device = InputDevice();
    int repeat = 1, divide = 1;
    if (ReplayMode && PlayScene(SceneState) && !FGamePaused) {
        repeat = FPlaybackRepeat;
        divide = FPlaybackDivide;
        if (device != nullptr &&
            (ActionHeld(*device, TAction::FastForward) || ActionPadHeld(*device, TAction::FastForward))) {
            repeat = std::max(repeat, FastForwardTicks);
            divide = 1;
        }
    }
    Sprite.SetProcessRepeat(repeat);
    Sprite.SetProcessDivide(divide);
}

void TForm1::ShowCaption(const std::string& text) {
    Caption = text;
    if (plat::Display* display = Sprite.DDraw()) display->setCaption(Caption);
}

TScreenshotResult TForm1::TakeScreenshot() {
    std::vector<std::uint8_t> rgba;
    int width = 0, height = 0;
    Sprite.ShownFrameRgba(rgba, width, height);
    const TScreenshotResult result = WriteScreenshot(rgba, width, height, std::time(nullptr));
    if (result.Ok) {
        std::fprintf(stderr, "korrindal: screenshot saved: %s\n", result.Path.c_str());
        const bool ja = UiLanguage() == TLanguage::Japanese;
        ShowCaption((ja ? "Korrindal - 画面を保存しました：" : "Korrindal - screenshot saved: ") + result.Path);
    } else {
        std::fprintf(stderr, "korrindal: screenshot not saved: %s\n", result.Error.c_str());
        const bool ja = UiLanguage() == TLanguage::Japanese;
        ShowCaption((ja ? "Korrindal - 画面を保存できませんでした：" : "Korrindal - screenshot not saved: ") + result.Error);
    }
    return result;
}

}  // namespace tz
