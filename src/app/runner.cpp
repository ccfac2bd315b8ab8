#include "app/runner.h"

#include "app/autopilot.h"
#include "app/play_watch.h"
#include "app/theatre.h"
#include "app/theatre_controls.h"
#include "app/verify.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "app/tick_audio.h"
#include "diagnostics/memcheck.h"
#include "frontend/tz_debugmenu.h"
#include "game/state_hash.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_main.h"
#include "game/tz_outlet.h"
#include "game/tz_state.h"
#include "game/tz_twice.h"
#include "core/data_path.h"
#include "game/tz_replay.h"
#include "platform/image_file.h"
#include "platform/platform.h"

namespace app {
namespace {

void PrintError(const std::string& message) {
    const std::string line = "korrindal: " + message + "\n";
    std::fputs(line.c_str(), stderr);
}

// Set up before the game window exists: the folder every game file is read from and
// written to.
void ApplyCommonOptions(const ProgramOptions& options) {
    if (!options.home.empty()) tz::SetProgramDir(options.home);
}

// What the startup dialog does before it shows the game window: the start-from choice, the
// input devices and a replay named on the command line. False (with the error printed) when
// the replay cannot be loaded.
bool PrepareGame(const ProgramOptions& options, plat::Platform& platform, tz::TForm1& form) {
    tz::StartFrom = options.startFrom;
    tz::SetInputDevice(platform.headless() ? nullptr : &platform.input());
    tz::DetectJoysticks();
    if (!options.replay.empty()) {
        const tz::TReplayResult loaded = form.LoadReplay(options.replay);
        if (!loaded.Ok) {
            PrintError(loaded.Error);
            return false;
        }
    }
    return true;
}

// The scenes whose ticks run the game step.
bool InPlay(std::uint8_t scene) {
    return scene == tz::Scene::Play || scene == tz::Scene::StageClear || scene == tz::Scene::StageFade ||
           scene == tz::Scene::TimeOver;
}

// Room for the autopilot's input: more ticks than a replay can hold.
constexpr std::size_t kPilotFeedSize = 2 * tz::ReplayBufferSize;

// One tick of the game window, for the autopilot's look-ahead.
void SimulatedTick(void* form) { static_cast<tz::TForm1*>(form)->SpriteProcess(); }

bool IsShotStep(const ProgramOptions& options, std::int64_t step) {
    for (std::int64_t s : options.shots)
        if (s == step) return true;
    return false;
}

// The back buffer as it was just shown, through the palette shown with it, as a PNG.
bool WriteShot(const engine::TSpriteEx& sprite, const std::string& dir, std::int64_t step, std::string& path) {
    path = dir + "/shot_" + std::to_string(step) + ".png";
    std::vector<std::uint8_t> rgba;
    int width = 0, height = 0;
    return sprite.BackBufferRgba(rgba, width, height) && plat::writePng(path, rgba.data(), width, height);
}

}  // namespace

std::string SummaryJson(const RunSummary& s) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "{\"ticks\":%lld,\"scene\":%d,\"stage\":%d,\"score\":%d,\"hiscore\":%d,\"replay_pos\":%d,"
                  "\"time_left\":%d,\"lives\":%d,\"bombs\":%d,\"killed\":%d,\"spawned\":%d,\"weapon\":%d,"
                  "\"bonus_rate\":%d,\"ending\":%s,\"bosses\":%d,\"game_blocks\":%d,\"play_allocs\":%lld,\"blocks\":%d,"
                  "\"state\":\"%s\"}",
                  static_cast<long long>(s.ticks), s.scene, s.stage, s.score, s.hiscore, s.replayPos, s.timeLeft,
                  s.lives, s.bombs, s.killed, s.spawned, s.weapon, s.bonusRate, s.ending ? "true" : "false", s.bosses,
                  s.gameBlocks, static_cast<long long>(s.playAllocs), s.blocks, tz::HashText(s.state).c_str());
    return line;
}

void FillGameFields(RunSummary& s) {
    s.scene = tz::SceneState;
    s.stage = tz::StageNo;
    s.score = tz::Score;
    s.hiscore = tz::HiScore;
    s.replayPos = tz::ReplayPos;
    s.timeLeft = tz::TimeLeft;
    s.lives = tz::MyShip.Lives;
    s.bombs = tz::MyShip.Bombs;
    s.killed = tz::KilledCount;
    s.spawned = tz::SpawnedCount;
    s.weapon = tz::MyShip.Weapon;
    s.bonusRate = tz::BonusRate;
}

bool InPlayScene(std::uint8_t scene) { return InPlay(scene); }

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// What a headless run reads and writes besides the game's own files, each released by its
// own destructor on every path the run takes: the bytes fed to the game in place of the
// devices (the feed is cleared before they go), the hash trace, the play log and the sound.
struct THeadlessFiles {
    std::vector<std::uint8_t> input;      // --input
    std::vector<std::uint8_t> pilotFeed;  // --autopilot: written a tick ahead of the game
    File trace;                           // --hash-trace
    File playLog;                         // --play-log
    TTickAudio audio;                     // --audio-out

    THeadlessFiles() = default;
    THeadlessFiles(const THeadlessFiles&) = delete;
    THeadlessFiles& operator=(const THeadlessFiles&) = delete;
    ~THeadlessFiles() { tz::ClearInputFeed(); }
};

// --settings: the startup dialog, never shown, reads the settings now, and the game window's
// termination has it write them, as in the windowed program. Then the dialog's music and
// sound-effects boxes, cleared for this run.
std::unique_ptr<frontend::TForm2> ApplySettings(const ProgramOptions& options, plat::Platform& platform,
                                                tz::TForm1& form) {
    std::unique_ptr<frontend::TForm2> dialog;
    if (options.settings) {
        dialog = std::make_unique<frontend::TForm2>(platform, form);
        dialog->CommandLineLanguage = options.language;
        dialog->Setting.Input();
        if (!dialog->Setting.LastReadError().empty()) PrintError(dialog->Setting.LastReadError());
        for (const std::string& warning : dialog->SettingWarnings()) PrintError(warning);
        // A headless run has no screen to be full, and its sound options are its own: the
        // player's choices are written back as read.
        form.WriteSettings = [d = dialog.get(), fullScreen = tz::FullScreen, music = tz::EnableBGM,
                              effects = tz::EnableSE, smooth = tz::SmoothMotion] {
            tz::FullScreen = fullScreen;
            tz::EnableBGM = music;
            tz::EnableSE = effects;
            tz::SmoothMotion = smooth;
            d->WriteSettings();
        };
    }
    if (options.noMusic) tz::EnableBGM = false;
    if (options.noSoundEffects) tz::EnableSE = false;
    if (options.smoothMotion >= 0) tz::SmoothMotion = options.smoothMotion != 0;
    return dialog;
}

// Opens what the options name, in the order they are checked: the input file (the title then
// starts a game at once and its ticks take these bytes), the screenshots' folder, the hash
// trace, the sound file (a tick's sound lasts tickUs) and the play log. The error, or empty.
std::string OpenFiles(const ProgramOptions& options, THeadlessFiles& files, std::int64_t tickUs) {
    if (!options.input.empty()) {
        std::ifstream in(options.input, std::ios::binary);
        if (!in) return "--input: cannot read '" + options.input + "'";
        files.input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        // With --take-over the bytes wait for the step the player takes over at.
        if (options.takeOver < 0) tz::SetInputFeed(files.input.data(), files.input.size());
    }
    if (!options.shots.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.shotDir, ec);
        if (!std::filesystem::is_directory(options.shotDir, ec))
            return "--shot-dir: cannot make the folder '" + options.shotDir + "'";
    }
    if (!options.hashTrace.empty()) {
        files.trace.reset(std::fopen(options.hashTrace.c_str(), "w"));
        if (!files.trace) return "--hash-trace: cannot write '" + options.hashTrace + "'";
    }
    if (!options.audioOut.empty() && !files.audio.Open(options.audioOut, tickUs))
        return "--audio-out: cannot write '" + options.audioOut + "'";
    if (!options.playLog.empty()) {
        files.playLog.reset(std::fopen(options.playLog.c_str(), "w"));
        if (!files.playLog) return "--play-log: cannot write '" + options.playLog + "'";
    }
    return {};
}

// What takes the place of the window's plain tick: --autopilot (the game reads an input feed
// that the autopilot writes a tick ahead) and --heavy (each tick runs twice from one
// snapshot, the second time with its effects silenced; state the tick keeps outside the game
// state record makes the two differ). Lives as long as the run's steps.
class THeadlessTick {
public:
    THeadlessTick(const ProgramOptions& options, tz::TForm1& form, std::vector<std::uint8_t>& pilotFeed)
        : form_(form), pilotFeed_(pilotFeed) {
        if (options.autopilot >= 0) {
            pilotFeed_.assign(kPilotFeedSize, 0);
            tz::SetInputFeed(pilotFeed_.data(), pilotFeed_.size());
            pilot_ = std::make_unique<TAutopilot>(options.autopilot, options.autopilotSeed, SimulatedTick, &form_);
        }
        if (options.heavy) snapshot_ = std::make_unique<tz::TGameState>();
        if (pilot_ || snapshot_) form_.Sprite.OnProcess = [this] { Tick(); };
    }
    // The window's own tick again: the engine outlives this.
    ~THeadlessTick() {
        if (pilot_ || snapshot_) form_.Sprite.OnProcess = [f = &form_] { f->SpriteProcess(); };
    }
    THeadlessTick(const THeadlessTick&) = delete;
    THeadlessTick& operator=(const THeadlessTick&) = delete;

    // The first tick --heavy found keeping state outside the record, or empty.
    const std::string& Error() const { return error_; }

private:
    void Tick() {
        ++ticks_;
        if (pilot_ && InPlay(tz::SceneState) && tz::FeedPos < pilotFeed_.size())
            pilotFeed_[tz::FeedPos] = pilot_->Choose(pilotFeed_.data(), pilotFeed_.size());
        if (!snapshot_) {
            form_.SpriteProcess();
            return;
        }
        const tz::TTwiceResult r = tz::RunTickTwice([this] { form_.SpriteProcess(); }, *snapshot_);
        if (!r.Same() && error_.empty())
            error_ = "--heavy: tick " + std::to_string(ticks_) + " gave two different states (" +
                     tz::HashText(r.First) + " then " + tz::HashText(r.Second) +
                     "): the tick keeps state outside the game state record";
    }

    tz::TForm1& form_;
    std::vector<std::uint8_t>& pilotFeed_;
    std::unique_ptr<TAutopilot> pilot_;
    std::unique_ptr<tz::TGameState> snapshot_;
    std::int64_t ticks_ = 0;
    std::string error_;
};

// What ends a run early: an exception out of the game, an engine failure, the window closed.
class TRunFailure {
public:
    explicit TRunFailure(engine::TSpriteEx& sprite) : sprite_(sprite) {
        sprite_.OnException = [this](const std::exception& e) { exception_ = e.what(); };
    }
    ~TRunFailure() { sprite_.OnException = nullptr; }
    TRunFailure(const TRunFailure&) = delete;
    TRunFailure& operator=(const TRunFailure&) = delete;

    // The failure so far, or empty.
    std::string operator()() const {
        if (!exception_.empty()) return "exception: " + exception_;
        if (!sprite_.LastFailure().empty()) return sprite_.LastFailure() + " | " + sprite_.Step();
        if (sprite_.Terminated()) return "the game window closed";
        return {};
    }

private:
    engine::TSpriteEx& sprite_;
    std::string exception_;
};

// What the steps found beyond the game's own state.
struct TStepsResult {
    std::string error;
    std::int64_t playAllocs = 0;  // allocations made by steps of play that set up no scene
    bool haveStepHash = false;
    std::uint64_t stepHash = 0;   // the hash after the last tick that ran the game step
};

// One step with the frames a display of `hz` shows drawn where they fall on the virtual
// clock: the tick at the step's start, then each frame due before the next tick, at its own
// moment. `nextFrame` counts the frames drawn so far.
void StepAtDrawRate(engine::TSpriteEx& sprite, std::int32_t hz, std::int64_t& nextFrame) {
    const std::int64_t start = sprite.VirtualClockUs();
    sprite.HeadlessStep(false);
    const std::int64_t end = sprite.VirtualClockUs();
    if (end <= start) return;   // paused or ended: no tick, no time
    const auto frameUs = [hz](std::int64_t n) { return n * 1'000'000 / hz; };
    try {
        while (frameUs(nextFrame) < start) ++nextFrame;
        for (; frameUs(nextFrame) < end && !sprite.Terminated(); ++nextFrame) {
            sprite.SetVirtualClockUs(frameUs(nextFrame));
            sprite.IdleRefresh();
        }
    } catch (const std::exception& e) {
        sprite.HookException(e);
    }
    sprite.SetVirtualClockUs(end);
}

// The run's steps, each one tick and one frame, until options.ticks, an error, or (with
// --until-title) the title's return.
TStepsResult RunSteps(const ProgramOptions& options, plat::Platform& platform, tz::TForm1& form,
                      THeadlessFiles& files, TPlayWatch& watch, const THeadlessTick& tick, const TRunFailure& failed,
                      TTheatre* theatre, RunSummary& summary) {
    auto& sprite = form.Sprite;
    TStepsResult result;
    bool gameSeen = false;   // a game has left the title (for --until-title)
    bool reachedTitle = false;
    std::int32_t blocksAtStart = 0;  // heap blocks in use at the title before the game
    std::int64_t framesDrawn = 0;    // --draw-hz

    form.Show();
    summary = RunSummary{};
    std::string& error = result.error;
    error = failed();
    for (std::int64_t t = 0; error.empty() && t < options.ticks; ++t) {
        // What the platform reports (none on the null platform) reaches the window as in the
        // windowed loop: a key pressed before a step acts before its tick.
        plat::WindowEvent event;
        while (!sprite.Terminated() && platform.display().pollEvent(event)) sprite.HandleWindowEvent(event);
        // --press: the keys pressed before this step, as the window's loop hands them on.
        for (const KeyPress& press : options.presses) {
            if (press.step != t + 1 || sprite.Terminated()) continue;
            plat::WindowEvent pressed;
            pressed.type = plat::WindowEventType::KeyDown;
            pressed.key = press.key;
            pressed.shift = press.shift;
            sprite.HandleWindowEvent(pressed);
        }
        const std::uint64_t allocsBefore = memcheck::AllocationCount();
        const std::uint64_t setupsBefore = sprite.UserEventCount();
        const bool wasInPlay = gameSeen && InPlay(tz::SceneState);
        if (options.drawHz > 0)
            StepAtDrawRate(sprite, options.drawHz, framesDrawn);
        else
            sprite.HeadlessStep(!options.noDraw);
        // A step of play allocates nothing; only a scene's set-up (loading a stage's banks
        // and map) may, and gives it all back by the time the title returns.
        if (wasInPlay && InPlay(tz::SceneState) && sprite.UserEventCount() == setupsBefore)
            result.playAllocs += static_cast<std::int64_t>(memcheck::AllocationCount() - allocsBefore);
        files.audio.AfterTick();
        if (!options.noDraw && IsShotStep(options, t + 1)) {
            std::string path;
            if (!WriteShot(sprite, options.shotDir, t + 1, path)) error = "cannot write the screenshot " + path;
        }
        summary.ticks = t + 1;
        if (theatre != nullptr) theatre->AfterStep(t + 1);
        if (t + 1 == options.takeOver) {
            if (!tz::TakeOverPlayback()) error = "--take-over: no replay is playing at step " + std::to_string(t + 1);
            tz::SetInputFeed(files.input.data(), files.input.size());
            tz::FeedStartPending = false;   // the game is in progress
        }
        watch.Observe(t + 1);
        if (files.trace)
            std::fprintf(files.trace.get(), "%lld %s\n", static_cast<long long>(t + 1),
                         tz::HashText(tz::GameStateHash()).c_str());
        if (error.empty()) error = failed();
        if (error.empty()) error = tick.Error();
        // The heap at the title before the game and at the title after it must agree.
        if (tz::SceneState == tz::Scene::Title && !gameSeen) blocksAtStart = memcheck::BlockCount();
        if (tz::SceneState > tz::Scene::Title) gameSeen = true;
        // The title is back and its set-up (which saves the finished game's replay) has run.
        const bool titleBack = options.untilTitle && gameSeen && tz::SceneState == tz::Scene::Title;
        // The summary reports the hash after the last tick that ran the game step. It is taken
        // only where such a tick can be the last: the run ends here, or the next tick will not
        // run the game step (the scene has left play).
        if (options.summary && tz::TickRanGameStep) {
            const bool lastStep = titleBack || !error.empty() || t + 1 == options.ticks;
            if (lastStep || !InPlay(tz::SceneState)) {
                result.stepHash = tz::GameStateHash();
                result.haveStepHash = true;
            }
        }
        if (titleBack) {
            reachedTitle = true;
            summary.gameBlocks = memcheck::BlockCount() - blocksAtStart;
            break;
        }
    }
    if (error.empty() && options.ticksCapped && !reachedTitle)
        error = "--until-title: the title did not come back within " + std::to_string(options.ticks) + " steps";
    return result;
}

// --save-replay: the recording of the game in progress (a game that has ended was saved by
// the title and its recording cleared: nothing is left to write). The error, or empty.
std::string SaveReplayOption(const ProgramOptions& options) {
    if (options.saveReplay.empty()) return {};
    if (tz::ReplayMode || tz::ReplayPos <= 0) return "--save-replay: no game in progress at the end of the run";
    const std::int32_t length = std::min(tz::ReplayPos, tz::ReplayBufferSize);
    const tz::TReplayResult saved =
        tz::WriteReplayFile(options.saveReplay, tz::Score, tz::ReplayBuffer.data(), length, tz::GameStartFrom,
                            tz::EncodeProofRecord(length));
    return saved.Ok ? std::string() : "--save-replay: " + saved.Error;
}

}  // namespace

int RunHeadless(const ProgramOptions& options, plat::Platform& platform, RunSummary& summary) {
    ApplyCommonOptions(options);
    auto form = std::make_unique<tz::TForm1>(platform);
    // --press: the replay theatre of the game window, before the replay is loaded into it.
    std::unique_ptr<TTheatreControls> controls;
    if (!options.presses.empty()) controls = std::make_unique<TTheatreControls>(*form);
    const std::unique_ptr<frontend::TForm2> dialog = ApplySettings(options, platform, *form);
    if (!PrepareGame(options, platform, *form)) return 1;
    THeadlessFiles files;
    if (const std::string error = OpenFiles(options, files, form->Sprite.TimerPeriodUs()); !error.empty()) {
        PrintError(error);
        return 1;
    }
    TPlayWatch watch(files.playLog.get());
    const TRunFailure failed(form->Sprite);
    // No timer thread: every step is one tick and one frame.
    form->Sprite.SetExternalClock(true);
    if (!options.frameLog.empty() && !form->Sprite.OpenFrameLog(options.frameLog)) {
        PrintError("--frame-log: cannot write '" + options.frameLog + "'");
        return 1;
    }
    form->Sprite.SetFullScreenMode(false);
    THeadlessTick tick(options, *form, files.pilotFeed);
    if (controls)
        form->Sprite.OnProcess = [c = controls.get(), inner = form->Sprite.OnProcess] {
            c->BeforeTick();
            inner();
        };

    // --seek: keyframes of the whole run, in storage taken now.
    std::unique_ptr<TTheatre> theatre;
    if (!options.seeks.empty()) theatre = std::make_unique<TTheatre>(*form, options.ticks);
    TStepsResult steps = RunSteps(options, platform, *form, files, watch, tick, failed, theatre.get(), summary);
    if (theatre && steps.error.empty()) {
        std::int64_t at = summary.ticks;
        for (const std::int64_t target : options.seeks) {
            at = theatre->Seek(target, at);
            if (files.trace)
                std::fprintf(files.trace.get(), "%lld %s\n", static_cast<long long>(at),
                             tz::HashText(tz::GameStateHash()).c_str());
        }
        summary.ticks = at;
        steps.haveStepHash = true;
        steps.stepHash = tz::GameStateHash();
    }
    // The summary is read from the game as the last step left it, before the window closes.
    watch.Finish();
    FillGameFields(summary);
    summary.state = steps.haveStepHash ? steps.stepHash : tz::GameStateHash();
    summary.ending = watch.ReachedEnding();
    summary.bosses = watch.BossesDestroyed();
    summary.playAllocs = steps.playAllocs;
    if (controls && steps.error.empty()) std::printf("%s\n", TimelineJson(*controls).c_str());
    std::string& error = steps.error;
    if (error.empty()) {
        form->Sprite.Close();
        error = failed();
        if (error == "the game window closed") error.clear();
    }
    if (error.empty()) error = SaveReplayOption(options);
    if (!files.audio.Close() && error.empty()) error = "--audio-out: writing '" + options.audioOut + "' failed";
    if (!error.empty()) {
        PrintError(error);
        return 1;
    }
    return 0;
}

int RunHeadless(const ProgramOptions& options) {
    RunSummary summary;
    int code = 0;
    {
        // The sound is rendered only when it is written out: otherwise there is no device.
        const auto audio = options.audioOut.empty() ? plat::NullAudio::None : plat::NullAudio::Offline;
        auto platform = plat::makeNullPlatform(audio);
        code = RunHeadless(options, *platform, summary);
    }
    // Counted once the game window and the platform are gone.
    summary.blocks = memcheck::BlockCount();
    if (code == 0 && options.summary) std::printf("%s\n", SummaryJson(summary).c_str());
    return code;
}

int Main(int argc, const char* const* argv) {
    try {
        ProgramOptions options;
        const ParseResult parsed = ParseOptions(argc, argv, options);
        if (!parsed.ok) {
            PrintError(parsed.error);
            return 2;
        }
        if (options.help || options.version) {
            std::fputs((options.help ? HelpText() : VersionText()).c_str(), stdout);
            return 0;
        }
        if (options.verifyRun) return RunVerify(options);
        return options.headless ? RunHeadless(options) : RunWindowed(options);
    } catch (const std::exception& e) {
        PrintError(std::string("exception: ") + e.what());
        return 1;
    }
}

}  // namespace app
