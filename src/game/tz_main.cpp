#include "game/tz_main.h"

#include <algorithm>
#include <iterator>

#include "game/tz_engine_pending.h"
#include "game/tz_globals.h"

namespace tz {

TForm1* Form1 = nullptr;
engine::SurfacePtr BgSurface;
bool TickRanGameStep = false;

namespace {

// The bank files stored with the window (bank numbers 0..8).
constexpr const char* kBankNames[] = {"TZ_System.sp4",  "tz_GameSprite.sp4", "TZ_Stage1.sp4",
                                      "TZ_Stage2.sp4",  "TZ_Stage3.sp4",     "TZ_BossA.sp4",
                                      "TZ_BossB.sp4",   "Tz_TitleSpprite.sp4", "TZ_Ending.sp4"};

void FillWhole(engine::SurfacePtr& surface, std::uint8_t colour) {
    if (surface) std::fill(surface->pixels.begin(), surface->pixels.end(), colour);
}

// Scene changes ask the window's engine for a user event.
void RequestFormUserEvent() {
    if (Form1 != nullptr) Form1->Sprite.OnUserEvent = [] { Form1->SpriteUserEvent(); };
}

}  // namespace

void FadeToWhite(std::int32_t Level) {
    if (Form1 != nullptr) FadeToWhite(Form1->Sprite, Level);
}

void FadeToBlack(std::int32_t Level) {
    if (Form1 != nullptr) FadeToBlack(Form1->Sprite, Level);
}

TForm1::TForm1(plat::Platform& platform) : Sprite(platform) {
    // The engine's stored properties on this window.
    Sprite.ApplicationTitle = "Korrindal";
    Sprite.SetResolution(engine::TResolution::Res_640x480x8);
    Sprite.SetProcessPerSec(ProcessPerSec);
    Sprite.SetFullScreenMode(FullScreen);
    Sprite.SetFlipping(true);
    Sprite.SetHideCursor(true);
    Sprite.SetSizeSin(1024);
    auto& banks = Sprite.Banks();
    for (std::size_t i = 0; i < std::size(kBankNames); ++i) banks[i] = kBankNames[i];

    Sprite.OnStartSystem = [this] { SpriteStartSystem(); };
    Sprite.OnTerminateSystem = [this] { SpriteTerminateSystem(); };
    Sprite.OnProcess = [this] { SpriteProcess(); };
    Sprite.OnRefresh = [this] { SpriteRefresh(); };
    Sprite.OnScreenChanged = [this] { SpriteScreenChanged(); };
    // Stored with the window: the first scene set-up runs as soon as the engine has started.
    Sprite.OnUserEvent = [this] { SpriteUserEvent(); };
    Form1 = this;
    SetUserEventRequester(&RequestFormUserEvent);
}

TForm1::~TForm1() {
    if (Form1 == this) {
        SetUserEventRequester(nullptr);
        Form1 = nullptr;
    }
}

void TForm1::Show() { Sprite.Paint(); }

void TForm1::SpriteStartSystem() {
    Sprite.AddSurface(BgSurface, 480, false, false);
    SceneState = Scene::TitleSetup;
}

void TForm1::SpriteTerminateSystem() { Sprite.ReleaseSurface(BgSurface); }

void TForm1::SpriteScreenChanged() {}

void TForm1::SpriteProcess() {
    TickRanGameStep = false;
    SceneTimer += 1;
}

void TForm1::SpriteRefresh() { RefreshCount += 1; }

void TForm1::SpriteUserEvent() {
    switch (SceneState) {
        case Scene::TitleSetup:
            // A cleared screen; the title picture comes with the scene machine.
            FillWhole(Sprite.FPrimary, FillColour);
            FillWhole(Sprite.FBackBuffer, FillColour);
            Sprite.FClipRect = engine::TRect{0, 0, 640, 480};
            SetScene(Scene::Title);
            break;
        default: break;
    }
}

}  // namespace tz
