#pragma once
// TSpriteEx: the component between the game and the screen. It owns the display (an 8-bit
// back buffer handed to the platform presenter with the current palette), the managed
// off-screen surfaces that survive a loss of focus, the sprite banks and their pattern
// table, the fixed-rate process loop and the idle-time refresh.
//
// Threads: OnProcess runs on the timer thread (or on the caller's thread in headless runs);
// everything else runs on the main thread. One engine mutex is held by a tick around
// OnProcess and by the drawing part of a refresh (background copy and OnRefresh), so a
// refresh never sees a half-finished tick. Pausing (SetPause(true)) stops the timer and
// waits until no tick runs; every operation that builds or releases surfaces pauses first.
//
// The lifecycle, display and loop parts live in sprite_ex.cpp, sprite_ex_display.cpp and
// sprite_ex_loop.cpp; banks, drawing and rotation in their own files (see the marked block).

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/draw_modes.h"
#include "engine/frame_log.h"
#include "engine/geometry.h"
#include "engine/pattern_table.h"
#include "engine/sprite_rec.h"
#include "engine/surface.h"
#include "platform/bitmap_loader.h"
#include "platform/platform.h"

namespace engine {

// A managed surface lives in a variable of its owner; the engine creates and releases it
// and writes that variable (through its address) when it rebuilds the surface.
using SurfacePtr = std::unique_ptr<Surface>;

enum class TSystemState : std::uint8_t { ssPlain, ssTriedInit, ssChangeScreen, ssNormal, ssPaused, ssTerminate };

// Values are read in pairs: 0-1 are 320x240, 2-3 640x480, 4-5 800x600; even values are
// 8 bits per pixel, odd ones 16 (the display here always runs at 8).
enum class TResolution : std::uint8_t {
    Res_320x240x8, Res_320x240x16, Res_640x480x8, Res_640x480x16, Res_800x600x8, Res_800x600x16
};

enum class TDebugOption : std::uint8_t { doDontFlip, doShowStatus, doShowDebugMsg, doSysMemOnly };

// A set of TDebugOption.
struct TDebugOptions {
    std::uint8_t bits = 0;

    constexpr TDebugOptions() = default;
    constexpr TDebugOptions(std::initializer_list<TDebugOption> options) {
        for (auto o : options) bits |= bit(o);
    }
    constexpr bool contains(TDebugOption o) const { return (bits & bit(o)) != 0; }
    constexpr TDebugOptions with(TDebugOption o) const { TDebugOptions r = *this; r.bits |= bit(o); return r; }
    constexpr TDebugOptions without(TDebugOption o) const { TDebugOptions r = *this; r.bits &= static_cast<std::uint8_t>(~bit(o)); return r; }
    friend constexpr bool operator==(TDebugOptions, TDebugOptions) = default;

private:
    static constexpr std::uint8_t bit(TDebugOption o) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(o)); }
};

// Width and height of a resolution's screen.
struct TScreenSize {
    int width;
    int height;
};
constexpr TScreenSize ResolutionSize(TResolution r) {
    switch (static_cast<int>(r) >> 1) {
        case 0: return {320, 240};
        case 1: return {640, 480};
        default: return {800, 600};
    }
}

// Parameterless notification. Handlers that capture only a pointer (`[this] { ... }`) are
// stored inside the std::function, so assigning one (a scene change during play) does not
// allocate.
using TSimpleEvent = std::function<void()>;
using TExceptionEvent = std::function<void(const std::exception&)>;

// One managed off-screen surface.
struct TSurfaceEntry {
    static constexpr std::uint8_t kKeep = 1;     // contents kept across focus loss
    static constexpr std::uint8_t kSysMem = 2;   // asked for in system memory

    SurfacePtr* SurfaceRef = nullptr;   // the owner's variable
    std::uint16_t Height = 0;           // unscaled: the surface is Height * SizeRate >> 2 high
    std::uint8_t Flags = 0;
};

inline constexpr int kSurfaceListSize = 1024;
inline constexpr int kProcessPerSecMin = 1;
inline constexpr int kProcessPerSecMax = 1000;
inline constexpr int kProcessRepeatMax = 8;
inline constexpr int kProcessDivideMax = 8;

class TSpriteEx {
public:
    explicit TSpriteEx(plat::Platform& platform);
    ~TSpriteEx();
    TSpriteEx(const TSpriteEx&) = delete;
    TSpriteEx& operator=(const TSpriteEx&) = delete;

    // ---- Component protocol and hooks (sprite_ex.cpp) -------------------------------------

    // The first showing of the game window: runs the start sequence once (window state,
    // hooks, Initialize, OnStartSystem, OnScreenChanged, unpause). Later calls do nothing.
    void Paint();
    // A close request for the game window: goes through the close hook while the hooks are
    // installed (OnTerminateSystem, release), then marks the window closed.
    void Close();
    bool Closed() const { return FClosed; }
    // The program should end: the window was closed or an exception ended the system.
    bool Terminated() const { return FClosed || FAppTerminated; }

    // Window events drive these while the hooks are installed (the loop calls them).
    void HookCloseQuery();
    void HookDeactivate();
    void HookActivate();
    void HookException(const std::exception& e);

    // Reports a failed step: stops the system, shows the message in the caption and in a
    // warning box (message + " | " + the step under way) and closes the window. Called on
    // the tick thread, the report is handed to the main thread's next loop pass.
    void Fail(const std::string& message);
    // Fail("Fail at " + step + " ( $" + code in hex, 4 digits at least + " )") when code != 0.
    bool CheckResult(const std::string& step, int code);
    // The text of the last failure report, empty when none.
    const std::string& LastFailure() const { return FLastFailure; }
    const std::string& Step() const { return FStep; }

    // ---- Properties --------------------------------------------------------------------

    TSystemState SystemState() const { return FSystemState.load(); }

    int ProcessPerSec() const { return FProcessPerSec; }
    void SetProcessPerSec(int value);      // 1..1000; other values are refused
    int ProcessSpeed() const { return FProcessSpeed; }
    void SetProcessSpeed(int value) { FProcessSpeed = value; }
    TDebugOptions DebugOptions() const { return FDebugOptions; }
    void SetDebugOptions(TDebugOptions value);   // only before the system runs
    bool HideCursor() const { return FHideCursor; }
    void SetHideCursor(bool value);
    // The platform the engine runs on (its services beyond the display: sound output).
    plat::Platform& Platform() const { return FPlatform; }
    // The display once initialised, else null.
    plat::Display* DDraw() const { return FDisplayReady ? &FPlatform.display() : nullptr; }
    std::array<std::string, kBankCount>& Banks() { return FBanks; }
    const std::array<std::string, kBankCount>& Banks() const { return FBanks; }
    TResolution Resolution() const { return FResolution; }
    void SetResolution(TResolution value);
    bool FullScreenMode() const { return FFullScreenMode; }
    void SetFullScreenMode(bool value);
    int FixDetail() const { return FFixDetail; }
    void SetFixDetail(int value);
    bool FixScaling() const { return FFixScaling; }
    void SetFixScaling(bool value);
    bool Flipping() const { return FFlipping; }
    void SetFlipping(bool value);
    const plat::Bitmap8& BackGround() const { return FBackGround; }
    void SetBackGround(const plat::Bitmap8& value);
    TResolution SizeOrigin() const { return FSizeOrigin; }
    void SetSizeOrigin(TResolution value);
    int SizeRate() const { return FSizeRate; }
    void SetSizeRate(int) {}               // computed by SetupWindowState; writes are ignored
    int SizeSin() const { return FSizeSin; }
    void SetSizeSin(int value) { FSizeSin = value; }
    bool ProtectSystemPalette() const { return FProtectSystemPalette; }
    void SetProtectSystemPalette(bool value);
    const std::string& MadeBy() const { return FMadeBy; }
    const std::string& MailTo() const { return FMailTo; }

    // Title of the failure box (the application's title).
    std::string ApplicationTitle = "TSpriteEx";

    // ---- Events --------------------------------------------------------------------------

    TSimpleEvent OnStartSystem;
    TSimpleEvent OnTerminateSystem;
    TSimpleEvent OnProcess;       // timer thread; set before the loop starts
    TSimpleEvent OnRefresh;
    // One-shot scene-change request. Assign it from an engine event (OnProcess, OnRefresh,
    // OnUserEvent, start or activation): the engine reads it under its lock.
    TSimpleEvent OnUserEvent;
    TSimpleEvent OnRelease;
    TSimpleEvent OnScreenChanged;
    TSimpleEvent OnDeactivate;
    TSimpleEvent OnActivate;
    TExceptionEvent OnException;
    // A key or a game controller button pressed in the game window (main thread), other than
    // the engine's own Alt+Enter and Escape.
    std::function<void(const plat::WindowEvent&)> OnKeyDown;
    // The window's own close query; returning false refuses the close.
    std::function<bool()> FormCloseQuery;

    // ---- Display and surfaces (sprite_ex_display.cpp) -------------------------------------

    bool Initialize();
    void SetupWindowState();
    void StoreSurfaceList();
    void RestoreSurfaceList();
    // Creates an off-screen surface FScreenWidth wide and Height high into Surface (an
    // existing one is released first). 0 on success, 999 when not running or on failure.
    int RealizeSurface(SurfacePtr& Surface, int Height, bool SysMem);
    // RealizeSurface with Height scaled by SizeRate, then a managed-list entry.
    void AddSurface(SurfacePtr& Surface, int Height, bool SysMem, bool Keep);
    void ReleaseSurface(SurfacePtr& Surface);
    void ReleaseAll();
    // Takes entries 0..254 of a picture's palette as the display palette (entry 255 stays).
    void SetPaletteFromBitmap(const plat::Palette& palette);
    void ApplySystemPalette();

    // The managed list (read only for callers).
    int SurfaceLast() const { return FSurfaceLast; }
    const TSurfaceEntry& SurfaceEntry(int index) const { return FSurfaceList[static_cast<std::size_t>(index)]; }

    // The hardware palette (what the presenter shows): the fades write it, SetPaletteFromBitmap
    // sets it from FPaletteEntries. HasPalette() is false until Initialize created it.
    bool HasPalette() const { return FHasPalette; }
    void SetPaletteEntries(const plat::Palette& entries) { FDDPalette = entries; }

    // ---- Loop (sprite_ex_loop.cpp) -----------------------------------------------------

    bool SetPause(bool Value);        // returns the state held before the call
    bool Paused() const { return FPaused.load(); }
    void BeginProcess(bool Value);
    // The timer callback: runs OnProcess under the engine lock unless a tick is running
    // (then the tick is dropped) or the loop is pausing.
    void TimerTick();
    // One pass of the idle handler: RefreshFrame, then RunUserEvents.
    void IdleRefresh();
    // Background copy and OnRefresh under the engine lock, then the frame and palette are
    // handed to the presenter after the lock is released.
    void RefreshFrame();
    // The one-shot user-event chain: pause, call while re-armed, restore the pause state.
    void RunUserEvents();
    // The windowed main loop: events to hooks (Alt+Enter toggles FullScreenMode, Escape
    // closes), one refresh per pass, paced by the presenter. Returns when the window closed
    // or an exception ended the program.
    void RunLoop();
    // Headless runs: no timer thread; the caller steps the loop itself with HeadlessStep.
    void SetExternalClock(bool value) { FExternalClock = value; }
    bool ExternalClock() const { return FExternalClock; }
    // One headless step: one OnProcess, then one refresh (or only the user events when
    // draw is false). Exceptions end the system through HookException.
    void HeadlessStep(bool draw);
    // Main-thread work handed over by the tick thread (a failure report or an exception).
    void DrainDeferred();
    // A window event: close request, focus change, Alt+Enter (full screen), Escape (close).
    void HandleWindowEvent(const plat::WindowEvent& event);

    // Held, a timer tick runs no OnProcess while the loop goes on drawing (the player's pause:
    // the game does not advance, its picture stays). Any thread.
    void SetProcessHold(bool value) { FProcessHold = value; }
    bool ProcessHold() const { return FProcessHold.load(); }
    // How many OnProcess calls one timer tick makes, 1..kProcessRepeatMax (fast-forward). The
    // calls of one timer tick stop early once a user event has been requested, so a scene
    // change runs its set-up before the next game tick as at normal speed. Any thread.
    void SetProcessRepeat(int value);
    int ProcessRepeat() const { return FProcessRepeat.load(); }
    // Slow motion: one timer tick in this many runs OnProcess, 1..kProcessDivideMax (the others
    // run none, as when held). Any thread.
    void SetProcessDivide(int value);
    int ProcessDivide() const { return FProcessDivide.load(); }
    // OnProcess calls made so far.
    std::uint64_t ProcessCount() const { return FProcessCount.load(); }
    // Timer ticks that waited for a pending user event instead of running the game.
    std::uint64_t HeldTicks() const { return FHeldTicks.load(); }
    // How many user events (scene set-ups) have run so far.
    std::uint64_t UserEventCount() const { return FUserEventCount.load(); }
    // The frame last handed to the presenter through the palette shown with it, as RGBA bytes
    // (4 per pixel, rows top to bottom). False before the first frame. Main thread.
    bool ShownFrameRgba(std::vector<std::uint8_t>& rgba, int& width, int& height) const;
    // The frame log (engine/frame_log.h): every present and every key or pad press from now
    // on, timed by the steady clock (the virtual clock of the steps in headless runs). False
    // when the file cannot be written. Main thread, before the loop starts.
    bool OpenFrameLog(const std::string& path) { return FFrameLog.Open(path); }
    void CloseFrameLog() { FFrameLog.Close(); }
    // Where the frame being drawn stands between the tick before the last and the last one:
    // 0 at the last tick's start, 1 (the last tick itself) a tick's period later (the timer's
    // period times the slow-motion divisor) and beyond.
    // The ticks' starts are followed as the timer's steady schedule (the steps' virtual clock
    // in headless runs). OnRefresh only.
    double TickPhase() const;
    // The game time the frame being drawn shows, in ticks, when it is not the last tick's
    // (for the frame log). OnRefresh only.
    void SetFrameShown(double ticks) { FFrameShown = ticks; }
    // Headless runs: the virtual clock (microseconds), advanced by each step's timer period.
    // A run that draws at its own rate sets the clock of each frame and tick itself.
    std::int64_t VirtualClockUs() const { return FVirtualUs; }
    void SetVirtualClockUs(std::int64_t us) { FVirtualUs = us; }
    std::int64_t TimerPeriodUs() const { return 1000 * (1000 / FProcessPerSec); }
    // The clock ticks and frames are timed by: the virtual clock in headless runs, the
    // steady clock otherwise (microseconds).
    std::int64_t ClockUs() const { return FExternalClock ? FVirtualUs : TFrameLog::SteadyUs(); }

    // Ticks dropped because the previous one was still running.
    std::uint64_t DroppedTicks() const { return FDroppedTicks.load(); }
    // The engine lock, for code outside the events that must not overlap a tick.
    std::mutex& EngineLock() { return FLock; }

    // ---- What the game reads, and where it draws ----------------------------------------

    // The pen: how patterns and sprites go onto the back buffer. Read here; set only through
    // a TPen (engine/pen.h), which puts back what it found when it ends.
    TDrawMode DrawMode() const { return FDrawMode; }
    TPoint DrawOffset() const { return {FOffsetX, FOffsetY}; }
    const TRect& ClipRect() const { return FClipRect; }

    int ScreenWidth() const { return FScreenWidth; }
    int ScreenHeight() const { return FScreenHeight; }
    // The surface every frame is drawn on, null before the display is built. Code that draws
    // pixels of its own writes into it.
    Surface* BackBuffer() { return FBackBuffer.get(); }
    const Surface* BackBuffer() const { return FBackBuffer.get(); }
    // Fills the front surface and the back buffer with one colour.
    void FillDisplay(std::uint8_t Color);
    // The back buffer as it stands, through the palette shown (DisplayPalette), as RGBA bytes
    // (4 per pixel, rows top to bottom). False before the display is built.
    bool BackBufferRgba(std::vector<std::uint8_t>& rgba, int& width, int& height) const;

    // The pattern table of all banks, the banks' records (pictures, surfaces, layout) and
    // the tables the draw modes mix through.
    const TPatternTable& Patterns() const { return FPatterns; }
    const TBankTable& BankData() const { return FBankData; }
    const MixTable& AddTable() const { return FAddTable; }
    // The stored palette (the last picture's; fades start from it) and the palette shown.
    const plat::Palette& StoredPalette() const { return FPaletteEntries; }
    const plat::Palette& DisplayPalette() const { return FDDPalette; }

    // ---- Banks, drawing and rotation: declared by their module -----------------------------
    // (begin banks block)
    // Banks (sprite_ex_banks.cpp). Loaded reads every named bank's header and pattern records
    // (so all hit circles are known from the start) and lays out the pattern table; call it
    // once the bank names are set, before the first Paint.
    void Loaded();
    void RealizeBank(int Index);
    void ReleaseBank(int Index);
    void ReleaseBanks();
    void BltBmpToSurface(SurfacePtr& Surface, int X, int Y, int Width, int Height, const plat::Bitmap8& Bitmap, int SrcX,
                         int SrcY);
    // The picture's height, or -1 when not running or the file is not found.
    int LoadBmpToSurface(SurfacePtr& Surface, const std::string& FileName);
    // The picture of the file at path: read now into scratch, or the one kept from an earlier
    // read while pictures are kept; nullptr, with error set, when the file cannot be read.
    // Bank pictures and LoadBmpToSurface read theirs through it.
    const plat::Bitmap8* LoadPicture(const std::string& path, plat::Bitmap8& scratch, std::string& error);
    // While on, each picture file is read once and kept by its path (a replay's seeks run the
    // scene set-ups again and again); off, the kept pictures are freed.
    void SetKeepPictures(bool keep);
    std::uint32_t SetColorKeyFromCorner(SurfacePtr& Surface);
    // The colour-mix table from the cache Name.Add beside the program, or (when there is no
    // cache of the right size) computed from the palette and written as the cache.
    void MakeAddTable(const std::string& Name, int RateA, int RateB);
    // Its first step: FAddTable from the cache; false, with FAddTable untouched, when there is
    // no cache or it does not hold exactly one table.
    bool LoadAddTable(const std::string& Name);

    // Drawing (sprite_ex_draw.cpp). Patterns are drawn on the back buffer in the pen's mode, moved
    // by its offsets and clipped to its clip rectangle.
    void DrawPattern(std::int16_t X, std::int16_t Y, std::int16_t Pattern);
    void DrawPatternFlash(std::int16_t X, std::int16_t Y, std::int16_t Pattern);
    void DrawPatternAdd(std::int16_t X, std::int16_t Y, std::int16_t Pattern);
    void DrawPatternMix2(std::int16_t X, std::int16_t Y, std::int16_t Pattern);
    void BltClipped(Surface* Dest, std::int16_t X, std::int16_t Y, const Surface* Src, const TRect& SrcRect);
    void FillSurface(Surface* Dest, const TRect& R, int Color);
    void FadeToWhite(int Level);
    void FadeToBlack(int Level);

    // Rotation and hit test (sprite_ex_rotation.cpp).
    // On the back buffer, with the pen's offsets and clip rectangle.
    void DrawSprite(const TSpriteRec& Spr);
    bool SpriteHit(const TSpriteRec& A, const TSpriteRec& B) const;
    void RotateCopy(Surface& Dest, const TSpriteRec& Spr);
    void PrepareBankRotations(int Bank, int Variant);
    void PreparePatternRotations(std::int16_t Pattern, int Variant);
    void RenderRotationFrame(std::int16_t Pattern, std::uint8_t Angle, int Variant);
    std::int16_t LayoutRotationSheet(std::int16_t Pattern, int Variant);
    void ReleaseRotations(std::int16_t Pattern);

private:
    TRect ScaledClipRect() const;
    // The pattern when it can be drawn (number in range, its bank loaded), else null.
    const TPatternRec* DrawablePattern(int Pattern) const;
    // Keyed copy of a pattern from its bank, run by run for wide patterns.
    void BltPattern(Surface* Dest, std::int16_t X, std::int16_t Y, const TPatternRec& P);
    template <class PixelLoop>
    void DrawPerPixel(std::int16_t X, std::int16_t Y, std::int16_t Pattern, int k, PixelLoop loop);
    TRotationCache& RotationCache(std::int16_t Pattern, int Variant);
    // Releases a surface and takes its entry (if any) out of the managed list.
    void ForgetSurface(SurfacePtr& Surface);
    // Lays out every bank's First again; a table overflow is reported through Fail (false).
    bool LayOutBanks();

public:
    // (end banks block)

private:
    friend class TPen;
    friend class SpriteExTestAccess;

    // Lifecycle helpers.
    void ClearScreens();
    void Unhook();
    void RunFail(const std::string& message);
    // Takes the variable's entry out of the managed list (later entries move down); false
    // when it is not listed. The surface itself is left to the caller.
    bool UnlistSurface(const SurfacePtr& Surface);
    // Screen change common to Resolution, FullScreenMode and SizeOrigin.
    template <class Store>
    void ChangeScreen(Store store);
    // Pause, store, restore the previous pause state (for the quiet/running property writes).
    template <class Store>
    void PausedStore(Store store);
    bool Running() const;   // neither ssPlain nor ssTerminate

    void ReleaseDisplayObjects();
    void CopyBackGround();
    void DrainCallbacks();
    void CompletePendingStop();
    void FollowTickStart();   // in a tick, under the engine lock
    bool OnTickThread() const;

    plat::Platform& FPlatform;

    // Drawing state and tables (the pen's fields are written by TPen).
    TRect FClipRect{0, 0, 640, 480};
    TDrawMode FDrawMode = TDrawMode::Plain;
    std::int32_t FOffsetX = 0;
    std::int32_t FOffsetY = 0;
    std::int32_t FScreenWidth = 640;
    std::int32_t FScreenHeight = 480;
    std::uint8_t FBitsPerPixel = 8;
    plat::Palette FPaletteEntries{};     // the stored palette; fades start from it
    plat::Palette FDDPalette{};          // the palette shown (see HasPalette)
    MixTable FAddTable{};
    MixTable FMixTable2{};
    SurfacePtr FPrimary;                 // the front surface (cleared with the back buffer)
    SurfacePtr FBackBuffer;              // every frame is drawn here
    SurfacePtr FBackSurface;             // holds BackGround when one is set
    TBankTable FBankData{};
    TPatternTable FPatterns{};
    bool FKeepPictures = false;
    std::vector<std::pair<std::string, plat::Bitmap8>> FKeptPictures;   // by path, see SetKeepPictures

    // Window state.
    bool FStarted = false;
    bool FHooked = false;
    bool FClosed = false;
    bool FAppTerminated = false;
    bool FDisplayReady = false;
    bool FHasPalette = false;
    bool FFailing = false;
    std::string FStep;
    std::string FLastFailure;

    // Property fields.
    std::atomic<TSystemState> FSystemState{TSystemState::ssPlain};
    int FProcessPerSec = 70;
    int FProcessSpeed = 100;
    TDebugOptions FDebugOptions{TDebugOption::doShowStatus, TDebugOption::doShowDebugMsg};
    bool FHideCursor = true;
    std::array<std::string, kBankCount> FBanks{};
    TResolution FResolution = TResolution::Res_640x480x8;
    bool FFullScreenMode = true;
    int FFixDetail = 0;
    bool FFixScaling = true;
    bool FFlipping = true;
    plat::Bitmap8 FBackGround;
    TResolution FSizeOrigin = TResolution::Res_640x480x8;
    int FSizeRate = 4;
    int FSizeSin = 1024;
    bool FProtectSystemPalette = false;
    std::string FMadeBy = "Korrindal";
    std::string FMailTo = "";

    // Palette entries 8, 9, 246 and 247 saved at initialisation and from the last picture.
    std::array<plat::Rgb, 4> FSysColors{};
    std::array<plat::Rgb, 4> FBmpColors{};

    // Managed surfaces.
    int FSurfaceLast = -1;
    std::array<TSurfaceEntry, kSurfaceListSize> FSurfaceList{};
    bool FSurfacesStored = false;
    std::array<SurfacePtr, kSurfaceListSize> FSurfaceImages{};

    // Loop.
    std::mutex FLock;                       // held by a tick and by a refresh's drawing
    std::atomic<bool> FProcessBusy{false};  // a TimerTick is inside (set and cleared by it)
    std::atomic<bool> FTicksEnabled{false}; // ticks may run OnProcess
    std::atomic<std::uint64_t> FDroppedTicks{0};
    std::atomic<bool> FProcessHold{false};
    std::atomic<int> FProcessRepeat{1};
    std::atomic<int> FProcessDivide{1};
    int FDivideCount = 0;                   // timer ticks since the last one that ran (engine lock)
    std::atomic<std::uint64_t> FProcessCount{0};
    std::atomic<std::uint64_t> FUserEventCount{0};
    std::atomic<std::uint64_t> FHeldTicks{0};
    int FTimerID = 0;                       // platform timer id, -1 for the external clock
    std::atomic<bool> FPaused{true};
    // A pause asked for while the engine lock was held: the main thread stops the timer.
    std::atomic<bool> FStopTimerPending{false};
    bool FInRefresh = false;
    bool FExternalClock = false;
    bool FPauseAtDeactivate = true;         // the pause state remembered at deactivation
    // Work a tick hands to the main thread.
    std::mutex FDeferredLock;
    std::string FDeferredFailure;
    std::exception_ptr FDeferredException;
    std::atomic<bool> FHasDeferred{false};
    // The frame handed to the presenter, copied from the back buffer under the lock so the
    // conversion can run while the next tick changes the back buffer.
    Surface FPresentFrame;
    plat::Palette FPresentPalette{};
    bool FLastPresentShown = false;
    bool FHaveShownFrame = false;           // FPresentFrame holds a drawn frame
    // The frame log, the headless steps' virtual clock, and the held ticks counted at the
    // last logged present (main thread).
    TFrameLog FFrameLog;
    std::int64_t FVirtualUs = 0;
    // The last tick's start on the timer's schedule (engine lock), and the game time the
    // frame being drawn shows (negative: the last tick's).
    std::int64_t FTickStartUs = 0;
    std::int64_t FTickEndUs = 0;            // when the last tick ended (engine lock)
    // A frame's recent work before its refresh (drawing, and the display's conversion and
    // upload where they come first), for how long before a self-paced refresh the frame is
    // drawn (main thread).
    std::int64_t FFrameWorkUs = 1000;
    std::int64_t FPaceLeadUs = 0;      // the lead in use (main thread)
    std::int64_t FFrameMomentUs = 0;   // when the loop meant to draw this frame (0: now)
    double FFrameShown = -1.0;
    std::uint64_t FLoggedHeldTicks = 0;
};

}  // namespace engine
