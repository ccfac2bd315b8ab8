#pragma once
// The game window: owns the engine component `Sprite` and answers its events. The scene
// machine lives in the handlers below.

#include "engine/sprite_ex.h"

namespace tz {

class TForm1 {
public:
    explicit TForm1(plat::Platform& platform);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The first showing of the window: starts the engine, which then fires
    // SpriteStartSystem and the stored user event.
    void Show();

    engine::TSpriteEx Sprite;

    // Engine event handlers.
    void SpriteStartSystem();
    void SpriteTerminateSystem();
    void SpriteProcess();
    void SpriteRefresh();
    void SpriteUserEvent();
    void SpriteScreenChanged();
};

// The one game window while it exists (the game's procedures reach the engine through it).
extern TForm1* Form1;

// The 640x480 backdrop surface: a managed engine surface created when the engine starts
// (not kept across focus loss) and released when it terminates.
extern engine::SurfacePtr BgSurface;

// Set by a tick that ran the per-tick game step (the play scenes); the headless runner takes
// its state hash after the last such tick.
extern bool TickRanGameStep;

}  // namespace tz
