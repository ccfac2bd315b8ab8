#include "game/tz_main.h"

#include "game/replay_proof.h"

#include <cstdio>

#include "game/tz_effect.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_map.h"
#include "core/fixed_math.h"
#include "core/data_path.h"
#include "engine/pen.h"
#include "game/tz_draw.h"
#include "core/random.h"
#include "game/tz_outlet.h"
#include "game/tz_patterns.h"
#include "game/tz_sound.h"
#include "platform/bitmap_loader.h"

namespace tz {

TForm1* Form1 = nullptr;
engine::SurfacePtr BgSurface;

namespace {

struct TSoundEntry {
    std::int32_t Index;
    const char* Name;
    std::int32_t Volume;  // dB
};
constexpr std::array<TSoundEntry, 22> SoundTable{{
    {0, "Valcan", -18},   {1, "Canon", -8},    {2, "Thunder", -5},    {3, "Beam", -17},  {4, "Laser", -16},
    {5, "ValcanHit", -18}, {6, "BeamHit", -18}, {7, "Bomb", 0},        {8, "CrashL", -10}, {9, "CrashM", -7},
    {10, "Kani", -15},    {11, "Wind", -5},    {12, "WindS", -5},     {13, "Accel", -10}, {14, "Fire", -13},
    {15, "Start", -5},    {16, "Warning", -8}, {17, "Dead", -5},      {18, "Weapon", -10}, {19, "Bonus", -10},
    {20, "Arrow", -17},   {21, "SuperShot", 0}}};

constexpr engine::TRect WholeScreen{0, 0, 640, 480};

}  // namespace

std::int32_t TitleLetterCopies(std::int32_t i, std::int32_t sceneTimer) {
    std::int32_t n = (sceneTimer - 70 - 40 * i) / 15;  // truncates toward zero
    if (n > 4) n = 4;
    return n >= 0 ? n + 1 : 0;
}

std::int32_t TitleLetterY(std::int32_t i, std::int32_t j, std::int32_t sceneTimer) {
    const auto d = static_cast<std::uint8_t>((32 * i + 20 * j - sceneTimer / 2) & 255);
    return 445 + (Sin(d) * 8) / 1024;
}

// ---- The game's way out: the window's outlet --------------------------------------------

namespace {

void WindowPlaySE(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate) {
    PlaySoundEffect(Index, Pan, VolumeStep, Rate);
}

// The player's music option decides whether the game's pieces are heard; the game starts
// and stops them all the same.
void WindowStartMusic(std::uint8_t Piece) {
    if (Form1 != nullptr && EnableBGM) PlayBgm(Music::Name(Piece));
}

void WindowStopMusic() {
    if (Form1 != nullptr) StopBgm();
}

// A piece's ticks are the engine's: each one the timer's period, which the music has played
// meanwhile.
void WindowResumeMusic(std::uint8_t Piece, std::int32_t Ticks) {
    if (Form1 == nullptr) return;
    if (Piece == Music::None || !EnableBGM) {
        StopBgm();
        return;
    }
    FollowBgm(Music::Name(Piece), static_cast<double>(Ticks) * static_cast<double>(Form1->Sprite.TimerPeriodUs()) / 1000.0);
}

void WindowFadeToWhite(std::int32_t Level) {
    if (Form1 != nullptr) Form1->Sprite.FadeToWhite(Level);
}

void WindowFadeToBlack(std::int32_t Level) {
    if (Form1 != nullptr) Form1->Sprite.FadeToBlack(Level);
}

void WindowFillScreens(std::uint8_t Colour) {
    if (Form1 != nullptr) Form1->ClearBothScreens(Colour);
}

void WindowUserEvent() {
    ++UserEventRequests;
    if (Form1 != nullptr) Form1->ArmUserEvent();
}

constexpr TOutlet WindowOutlet{WindowPlaySE,      WindowStartMusic,  WindowStopMusic, WindowFadeToWhite,
                               WindowFadeToBlack, WindowFillScreens, WindowUserEvent, WindowResumeMusic};

}  // namespace

// ---- The window -------------------------------------------------------------------------

TForm1::TForm1(plat::Platform& platform) : Sprite(platform), UnitList(tz::UnitList) {
    // The stored properties of the engine on this window.
    Sprite.ApplicationTitle = "Korrindal";
    Sprite.SetResolution(engine::TResolution::Res_640x480x8);
    Sprite.SetProcessPerSec(ProcessPerSec);
    Sprite.SetFullScreenMode(FullScreen);
    Sprite.SetFlipping(true);
    Sprite.SetHideCursor(true);
    Sprite.SetSizeSin(1024);
    auto& banks = Sprite.Banks();
    for (std::size_t i = 0; i < banks.size(); ++i) banks[i] = i < BankFiles.size() ? BankFiles[i].File : "";
    Sprite.Loaded();  // the pattern table of every bank, as when the window's components load
    // The game's own copy of the hit circles; a bank that cannot be read fails the engine above.
    std::string patternError;
    LoadPatterns(patternError);
    LoadUnitList();

    Sprite.OnStartSystem = [this] { SpriteStartSystem(); };
    Sprite.OnTerminateSystem = [this] { SpriteTerminateSystem(); };
    Sprite.OnProcess = [this] { SpriteProcess(); };
    Sprite.OnRefresh = [this] { SpriteRefresh(); };
    Sprite.OnScreenChanged = [this] { SpriteScreenChanged(); };
    Sprite.OnKeyDown = [this](const plat::WindowEvent& e) { SpriteKeyDown(e); };
    // Focus lost stops the ticks; the music and the effects wait where they are with them,
    // and go on from there when it comes back (unless the player's pause still holds them).
    Sprite.OnDeactivate = [] { HoldSoundOutput(true); };
    Sprite.OnActivate = [this] { HoldSoundOutput(FGamePaused); };
    // Stored with the window: the first scene set-up runs as soon as the engine has started.
    Sprite.OnUserEvent = [this] { SpriteUserEvent(); };
    Form1 = this;
    SetOutlet(&WindowOutlet);
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
        SetOutlet(nullptr);
        // The backdrop belongs to this window's engine (released already when it terminated);
        // a later window must not find it.
        BgSurface.reset();
    }
}

void TForm1::Show() { Sprite.Paint(); }

void TForm1::ArmUserEvent() { Sprite.OnUserEvent = [this] { SpriteUserEvent(); }; }

TReplayResult TForm1::LoadReplay(const std::string& FileName) {
    TReplayResult loaded = tz::LoadReplay(FileName);
    if (loaded.Ok && ReplayLoaded) ReplayLoaded(FileName);
    return loaded;
}

void TForm1::ReportSaveFailures(const TFinishedGameSave& saved) {
    for (const TReplayResult* result : {&saved.HighScore, &saved.LastGame}) {
        if (result->Ok) continue;
        std::fprintf(stderr, "korrindal: %s\n", result->Error.c_str());
        if (!FSaveError.empty()) continue;
        FSaveError = result->Error;
        Caption = "Korrindal - " + FSaveError;
        if (plat::Display* display = Sprite.DDraw()) display->setCaption(Caption);
    }
}

// ---- Engine events ----------------------------------------------------------------------

void TForm1::SpriteStartSystem() {
    OpenSoundOutput(Sprite.Platform());
    if (EnableSE) {
        for (const TSoundEntry& s : SoundTable) SetSound(s.Index, s.Name, s.Volume);
        InitSound();
    }
    // The backdrop holds the scene's picture (title or stage background), loaded only at
    // the scene's set-up: it is kept across focus loss and screen changes (Alt+Enter), or
    // the rest of the scene would be drawn over black.
    Sprite.AddSurface(BgSurface, 480, false, true);
    SceneState = Scene::TitleSetup;
}

void TForm1::SpriteScreenChanged() {
    // The display was built or rebuilt: a full-screen switch (Alt+Enter) is the player's
    // choice from now on, kept in the settings.
    FullScreen = Sprite.FullScreenMode();
    FPauseFrameDrawn = false;   // the back buffer was made anew: a paused frame is drawn again
    if (EnableSE) LoadSounds(64);
}

void TForm1::SpriteTerminateSystem() {
    Sprite.ReleaseSurface(BgSurface);
    ShutdownSound();
    // The player stops; the game state is left as the last tick made it (a summary taken
    // after the window closed must be the game's).
    StopBgm();
    CloseSoundOutput();
    if (WriteSettings) WriteSettings();
    if (CloseDialog) CloseDialog();
}

void TForm1::ClearBothScreens(std::uint8_t colour) {
    Sprite.FillDisplay(colour);
}

// ---- Scene set-up (user events, loop paused) ----------------------------------------------

void TForm1::SpriteUserEvent() {
    SmoothForget(*FSmooth);   // the set-up moves things without a tick
    GameState.Play.UserEventPending = false;
    switch (SceneState) {
        case Scene::TitleSetup: TitleSetup(); break;
        case Scene::Title: NewGame(); break;
        case Scene::StageSetup: StageSetup(); break;
        case Scene::Play: BossBankSwap(); break;
        case Scene::StageClear:
            StopMusic();  // the final boss was destroyed
            break;
        case Scene::EndingSetup: EndingSetup(); break;
        default: break;
    }
}

void TForm1::TitleSetup() {
    StopMusic();
    const bool playedBack = ReplayMode;
    if (ReplayPos != 0) ReplayMode = false;  // a played-back replay has ended
    FillScreens(FillColour);
    if (!DressTitle()) return;
    // The title bank's colour key (its top-left pixel) fills the screens from now on.
    const engine::Surface* titleBank = Sprite.BankData()[BankTitle].surface.get();
    FillColour = static_cast<std::uint8_t>(titleBank != nullptr ? titleBank->colorKey : 0);
    SetScene(Scene::Title);
    ReportSaveFailures(SaveFinishedGame(playedBack));
}

// The title's banks, backdrop and palette (also after a jump to the title).
bool TForm1::DressTitle() {
    Sprite.ReleaseBanks();
    Sprite.RealizeBank(BankTitle);
    Sprite.MakeAddTable("Title", 80, 100);
    plat::Bitmap8 scratch;
    std::string error;
    if (const plat::Bitmap8* picture = Sprite.LoadPicture(DataPath("tz_TitleBack", ".bmp"), scratch, error)) {
        Sprite.SetPaletteFromBitmap(picture->palette);
        Sprite.BltBmpToSurface(BgSurface, 0, 0, 640, 480, *picture, 0, 0);
        return true;
    }
    Sprite.Fail("tz_TitleBack.bmp: " + error);
    return false;
}

void TForm1::NewGame() {
    PlaySE(Sound::Start, -50, 0, 100);
    PlaySE(Sound::Start, 50, 0, 101);
    FillScreens(FillColour);
    TimeLeft = -1;
    StageNo = 0;
    BossLife = 9999;
    DeadTimer = 0;
    BonusRate = 0;
    Score = 0;
    ReplayPos = 0;
    // Nothing of the previous game may reach this one: a fresh ship record (keys, weapon,
    // fire wait, burst, tilt), the bullet table's search start and the game's generator.
    MyShip = TMyShip{};
    MyShip.Index = -1;
    MyShip.Lives = 2;
    MyShip.Bombs = 5;
    EnemyShotNext = 0;
    RandSeed = 0;
    FeedStartPending = false;
    // The start point holds for the whole game; a replay's own start point wins over the
    // dialog's choice, so its playback starts where it was recorded.
    GameStartFrom = static_cast<std::uint8_t>(NextGameStartFrom());
    SetScene(Scene::StageSetup);
    RequestUserEvent();
}

void TForm1::StageSetup() {
    FillScreens(FillColour);
    FadeToBlack(0);
    // Start-from skips: the time budget of the skipped stages is spent.
    const std::int32_t from = GameStartFrom;
    if (from > 1 && StageNo < 2) {
        StageNo = 1;
        TimeLeft = ProcessPerSec * 210;
    }
    if (from > 2 && StageNo < 3) {
        StageNo = 2;
        TimeLeft = ProcessPerSec * 120;
    }
    StageNo += 1;
    if (!DressStage()) return;
    LoadMap(StageNo);
    if (from == 1 && StageNo == 1) ToFixed(0, -1700, MapPos);
    if (from > 3 && StageNo == 3) ToFixed(0, -4150, MapPos);
    StageStart();
    if (from <= 4) {
        SetScene(Scene::Play);
    } else {
        SetScene(Scene::EndingSetup);
        RequestUserEvent();
    }
}

void TForm1::BossBankSwap() {
    if (BossLife > 700) {
        Sprite.ReleaseBank(BankStage3);
        Sprite.RealizeBank(BankBossA);
    } else {
        StartMusic(Music::Boss);
        Sprite.ReleaseBank(BankBossA);
        Sprite.RealizeBank(BankBossB);
    }
}

void TForm1::EndingSetup() {
    FillScreens(255);
    ReportSaveFailures(SaveFinishedGame(ReplayMode));
    Sprite.ReleaseBanks();
    Sprite.RealizeBank(BankSystem);
    Sprite.RealizeBank(BankEnding);
    Sprite.RealizeBank(BankGame);
    FadeToWhite(256);
    StartMusic(Music::Ending);
    for (TEffect& e : Effects) {
        e = TEffect{};
        e.Index = -1;
    }
    SetScene(Scene::Credits);
}

// ---- One tick ----------------------------------------------------------------------------

void TForm1::SpriteProcess() {
    if (SmoothMotion)
        SmoothBeforeTick(*FSmooth, GameState.Play);
    else
        SmoothForget(*FSmooth);
    TickRanGameStep = false;
    if (MusicPiece != Music::None) ++MusicTicks;
    switch (SceneState) {
        case Scene::Title: {
            MyShip.OldKeys = MyShip.Keys;
            MyShip.Keys = ReadDeviceInput();
            const bool firePressed = (MyShip.Keys & KeyFire) != 0 && (MyShip.OldKeys & KeyFire) == 0;
            if (firePressed || (ReplayMode && ReplayPos == 0) || NextGameStartFrom() > 4 || FeedStartPending)
                RequestUserEvent();
            break;
        }
        case Scene::Play:
        case Scene::StageClear:
        case Scene::StageFade:
        case Scene::TimeOver:
            PlayProcess();
            TickRanGameStep = true;
            break;
        case Scene::Credits:
            CreditsProcess();
            if (SceneState != Scene::Credits) return;  // the credits ended: no clock step
            break;
        default: break;
    }
    SceneTimer += 1;
    if (TickRanGameStep) NoteProofTick();
}

void TForm1::PlayProcess() {
    if (SceneState != Scene::TimeOver && TimeLeft == 0) {
        SetScene(Scene::TimeOver);
        PlaySE(Sound::Dead, -50, 0, 100);
        PlaySE(Sound::Dead, 50, 0, 120);
        for (int i = 0; i < 8; ++i) SpawnEffect(Effect::Shard, MyShip, 0);
        for (int i = 0; i < 8; ++i) SpawnEffect(Effect::Wreckage, MyShip, 0);
        SpawnEffect(Effect::ExplosionRay, MyShip, 0);
        SpawnEffect(Effect::ExplosionRay, MyShip, 128);
        DeadTimer = 1;
    }
    if (SceneState == Scene::TimeOver && SceneTimer >= TimeOverTicks) {
        SetScene(Scene::TitleSetup);
        RequestUserEvent();
    }
    GameStep();
    if (Score > HiScore && !ReplayMode) HiScore = Score;
    if (DeadTimer > 120) {
        if (MyShip.Lives == 0) {
            SetScene(Scene::TitleSetup);  // game over
            RequestUserEvent();
        } else if (TimeLeft > 0) {
            RelaunchShip();
        }
    }
}

void TForm1::CreditsProcess() {
    MoveStars();
    MoveEffects();
    if (SceneTimer >= CreditsFadeTick) tz::FadeToBlack(SceneTimer - CreditsFadeTick);
    if (SceneTimer < 512) tz::FadeToWhite(256 - SceneTimer / 2);
    if (SceneTimer >= CreditsShipTick) {
        if (SceneTimer == CreditsShipTick) {
            PlaySE(Sound::WindS, 15, -25, 50);
            MyShip.SetXPos(480);
            MyShip.SetYPos(600);
        }
        MyShip.SetXPos(static_cast<std::int16_t>(MyShip.XPos() - 2));
        MyShip.SetYPos(static_cast<std::int16_t>(MyShip.YPos() - CreditsShipClimb));
    }
    if (SceneTimer >= CreditsTicks) {
        SetScene(Scene::TitleSetup);
        FillScreens(FillColour);
        tz::FadeToBlack(0);
        RequestUserEvent();
        return;
    }
    const std::int32_t row = SceneTimer / CreditsRowTicks;
    const std::int32_t phase = SceneTimer % CreditsRowTicks;
    if (row > 6) return;
    const TCreditsRow& r = CreditsTable[static_cast<std::size_t>(row)];
    if (phase == 1 && r.Caption >= 0) {
        if (r.Name1 >= 0) {
            MyShip.SetXPos(240);
            MyShip.SetYPos(160);
        } else {
            MyShip.SetXPos(320);
            MyShip.SetYPos(200);
        }
        SpawnEffect(Effect::CaptionFromBelow, MyShip, r.Caption);
    }
    if (phase == 41) {
        const std::array<std::int16_t, 2> names{r.Name1, r.Name2};
        for (std::int32_t i = 0; i < 2; ++i) {
            if (names[static_cast<std::size_t>(i)] < 0) continue;
            MyShip.SetXPos(320);
            MyShip.SetYPos(static_cast<std::int16_t>(215 + 40 * i - (r.Caption < 0 ? 15 : 0)));
            SpawnEffect(Effect::CaptionFromAbove, MyShip, names[static_cast<std::size_t>(i)]);
        }
    }
}

// ---- One frame -------------------------------------------------------------------------

void TForm1::SpriteRefresh() {
    // The frame-counted animations (blinks, hit flashes, the shots' pulse) advance with each
    // frame that shows a new tick or comes a tick's time after the last one that advanced
    // them: at the tick rate and below that is every frame, as always; on a faster display
    // they keep the tick rate's pace instead of blinking too fast to be seen.
    const std::uint64_t tick = Sprite.ProcessCount();
    const std::int64_t now = Sprite.ClockUs();
    if (tick != FAnimationTick || now - FAnimationUs >= Sprite.TimerPeriodUs()) {
        RefreshCount += 1;
        FAnimationTick = tick;
        FAnimationUs = now;
    }
    UpdateFastForward();
    // Paused: the picture stands still. The frame drawn when the pause began (the field with
    // "PAUSE" over it) stays in the back buffer; drawing it again would make the stars twinkle.
    if (FGamePaused && FPauseFrameDrawn) return;
    // Between ticks the moving things are drawn where they stand at this moment; the tick's
    // own positions are back before the engine lock is released.
    struct TBlendScope {
        TSmoothMotion& motion;
        bool blended;
        ~TBlendScope() {
            if (blended) SmoothRestore(motion, GameState.Play);
        }
    };
    const double phase = Sprite.TickPhase();
    const TBlendScope blend{*FSmooth, SmoothMotion && !FGamePaused && SmoothBlend(*FSmooth, GameState.Play, phase)};
    if (blend.blended) Sprite.SetFrameShown(static_cast<double>(Sprite.ProcessCount()) - 1.0 + phase);
    switch (SceneState) {
        case Scene::Title: DrawTitle(); break;
        case Scene::Play:
        case Scene::StageClear:
        case Scene::StageFade:
        case Scene::TimeOver: DrawPlayField(); break;
        case Scene::Credits: DrawCredits(); break;
        default: break;
    }
    if (FGamePaused) {
        DrawPauseCaption();
        FPauseFrameDrawn = true;
    }
    if (DrawPlaybackOverlay) DrawPlaybackOverlay();
}

void TForm1::DrawTitle() {
    engine::TPen pen(Sprite, engine::TDrawMode::Add, {0, 0}, WholeScreen);
    if (BgSurface) Sprite.BltClipped(Sprite.BackBuffer(), 0, 0, BgSurface.get(), WholeScreen);
    for (std::int32_t i = 0; i < 4; ++i) {
        const std::int32_t copies = TitleLetterCopies(i, SceneTimer);
        for (std::int32_t j = 0; j < copies; ++j)
            Sprite.DrawPattern(450 + 48 * i, TitleLetterY(i, j, SceneTimer), static_cast<std::int16_t>(249 + i));
    }
}

void TForm1::DrawCredits() {
    engine::TPen pen(Sprite, engine::TDrawMode::Plain, {0, 0}, WholeScreen);
    Sprite.FillSurface(Sprite.BackBuffer(), WholeScreen, FillColour);
    DrawStars();
    TCharacter& ship = FCreditsShip;
    if (SceneTimer < CreditsShipTick) {
        ship.SetXPos(static_cast<std::int16_t>(SceneTimer / 10 + 200));
        ship.SetYPos(static_cast<std::int16_t>(SceneTimer / 4 - 200));
        Sprite.DrawPattern(ship.XPos(), ship.YPos(), static_cast<std::int16_t>(265 + (SceneTimer / 60) % 8));
        if (DrawRandom.Random() < 0.15) {
            ship.SetXPos(static_cast<std::int16_t>(ship.XPos() + DrawRandom.Random(32) - 16));
            ship.SetYPos(static_cast<std::int16_t>(ship.YPos() + DrawRandom.Random(80) - 50));
            ship.Pattern = static_cast<std::int16_t>(111 + DrawRandom.Random(4));
            ship.Rotation = static_cast<std::uint8_t>(DrawRandom.Random(256));
            Sprite.DrawSprite(engine::TSpriteRec{ship.X, ship.Y, ship.Rotation, ship.Pattern});
        }
    } else {
        // The game's ship flies off; the picture only reads its position.
        const std::int32_t x = MyShip.XPos();
        const std::int32_t y = MyShip.YPos();
        Sprite.DrawPattern(x, y, 265);
        if (y < 480) {
            if (y > 0) {
                Sprite.FillSurface(Sprite.BackBuffer(), engine::TRect{x - 10, y, x + 11, 480}, 255);
            } else {
                // The beam closes over the ticks since the ship reached the top (it rises a
                // whole climb per tick from there), whichever of them a frame happens to show.
                const std::int32_t age = -y / CreditsShipClimb;
                const std::int32_t left = CreditsBeamTicks - 1 - age;
                if (left >= 0) {
                    const std::int32_t w = left / 10;
                    Sprite.FillSurface(Sprite.BackBuffer(), engine::TRect{x - w, 0, x + w + 1, 480}, 255);
                }
            }
        }
    }
    DrawEffects();
}

}  // namespace tz
