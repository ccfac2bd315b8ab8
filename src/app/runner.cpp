#include "app/runner.h"

#include "app/autopilot.h"
#include "app/play_watch.h"

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
    if (!sprite.FBackBuffer) return false;
    const engine::Surface& frame = *sprite.FBackBuffer;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height) * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < frame.height; ++y) {
        const std::uint8_t* row = frame.row(y);
        for (int x = 0; x < frame.width; ++x, out += 4) {
            const plat::Rgb c = sprite.FDDPalette[row[x]];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = 255;
        }
    }
    return plat::writePng(path, rgba.data(), frame.width, frame.height);
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

int RunHeadless(const ProgramOptions& options, plat::Platform& platform, RunSummary& summary) {
    ApplyCommonOptions(options);
    auto form = std::make_unique<tz::TForm1>(platform);
    auto& sprite = form->Sprite;
    // --settings: the startup dialog, never shown, reads the settings now, and the game
    // window's termination has it write them, as in the windowed program.
    std::unique_ptr<frontend::TForm2> dialog;
    if (options.settings) {
        dialog = std::make_unique<frontend::TForm2>(platform, *form);
        dialog->CommandLineLanguage = options.language;
        dialog->Setting.Input();
        if (!dialog->Setting.LastReadError().empty()) PrintError(dialog->Setting.LastReadError());
        for (const std::string& warning : dialog->SettingWarnings()) PrintError(warning);
        // A headless run has no screen to be full, and its sound options are its own: the
        // player's choices are written back as read.
        form->WriteSettings = [d = dialog.get(), fullScreen = tz::FullScreen, music = tz::EnableBGM,
                               effects = tz::EnableSE] {
            tz::FullScreen = fullScreen;
            tz::EnableBGM = music;
            tz::EnableSE = effects;
            d->WriteSettings();
        };
    }
    // The dialog's music and sound-effects boxes, cleared for this run.
    if (options.noMusic) tz::EnableBGM = false;
    if (options.noSoundEffects) tz::EnableSE = false;
    if (!PrepareGame(options, platform, *form)) return 1;
    // An input file: the title starts a game at once and its ticks take these bytes.
    std::vector<std::uint8_t> input;
    if (!options.input.empty()) {
        std::ifstream in(options.input, std::ios::binary);
        if (!in) {
            PrintError("--input: cannot read '" + options.input + "'");
            return 1;
        }
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        tz::SetInputFeed(input.data(), input.size());
    }
    if (!options.shots.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.shotDir, ec);
        if (!std::filesystem::is_directory(options.shotDir, ec)) {
            PrintError("--shot-dir: cannot make the folder '" + options.shotDir + "'");
            return 1;
        }
    }
    std::FILE* trace = nullptr;
    if (!options.hashTrace.empty()) {
        trace = std::fopen(options.hashTrace.c_str(), "w");
        if (trace == nullptr) {
            PrintError("--hash-trace: cannot write '" + options.hashTrace + "'");
            return 1;
        }
    }
    TTickAudio audioOut;
    if (!options.audioOut.empty() && !audioOut.Open(options.audioOut, tz::ProcessPerSec)) {
        if (trace != nullptr) std::fclose(trace);
        PrintError("--audio-out: cannot write '" + options.audioOut + "'");
        return 1;
    }
    std::FILE* playLog = nullptr;
    if (!options.playLog.empty()) {
        playLog = std::fopen(options.playLog.c_str(), "w");
        if (playLog == nullptr) {
            if (trace != nullptr) std::fclose(trace);
            PrintError("--play-log: cannot write '" + options.playLog + "'");
            return 1;
        }
    }
    TPlayWatch watch(playLog);
    bool gameSeen = false;   // a game has left the title (for --until-title)
    bool reachedTitle = false;
    std::int32_t blocksAtStart = 0;  // heap blocks in use at the title before the game
    std::int64_t playAllocs = 0;     // allocations made by steps of play (see below)
    std::string exceptionText;
    sprite.OnException = [&exceptionText](const std::exception& e) { exceptionText = e.what(); };
    // No timer thread: every step below is one tick and one frame.
    sprite.SetExternalClock(true);
    sprite.SetFullScreenMode(false);

    auto failed = [&]() -> std::string {
        if (!exceptionText.empty()) return "exception: " + exceptionText;
        if (!sprite.LastFailure().empty()) return sprite.LastFailure() + " | " + sprite.Step();
        if (sprite.Terminated()) return "the game window closed";
        return {};
    };

    // --autopilot: the game reads an input file that the autopilot writes a tick ahead.
    std::vector<std::uint8_t> pilotFeed;
    std::unique_ptr<TAutopilot> pilot;
    tz::TForm1* f = form.get();
    if (options.autopilot >= 0) {
        pilotFeed.assign(kPilotFeedSize, 0);
        tz::SetInputFeed(pilotFeed.data(), pilotFeed.size());
        pilot = std::make_unique<TAutopilot>(options.autopilot, options.autopilotSeed, SimulatedTick, f);
    }
    // --heavy: each tick runs twice from one snapshot, the second time with its effects
    // silenced; state the tick keeps outside the game state record makes the two differ.
    std::unique_ptr<tz::TGameState> snapshot;
    if (options.heavy) snapshot = std::make_unique<tz::TGameState>();
    std::int64_t tickCount = 0;
    std::string heavyError;
    if (pilot || snapshot) {
        sprite.OnProcess = [f, &pilot, &pilotFeed, &snapshot, &tickCount, &heavyError] {
            ++tickCount;
            if (pilot && InPlay(tz::SceneState) && tz::FeedPos < pilotFeed.size()) {
                const std::uint8_t keys = pilot->Choose(pilotFeed.data(), pilotFeed.size());
                pilotFeed[tz::FeedPos] = keys;
            }
            if (!snapshot) {
                f->SpriteProcess();
                return;
            }
            const tz::TTwiceResult r = tz::RunTickTwice([f] { f->SpriteProcess(); }, *snapshot);
            if (!r.Same() && heavyError.empty())
                heavyError = "--heavy: tick " + std::to_string(tickCount) + " gave two different states (" +
                             tz::HashText(r.First) + " then " + tz::HashText(r.Second) +
                             "): the tick keeps state outside the game state record";
        };
    }

    form->Show();
    summary = RunSummary{};
    bool haveStepHash = false;
    std::uint64_t stepHash = 0;
    std::string error = failed();
    for (std::int64_t t = 0; error.empty() && t < options.ticks; ++t) {
        // What the platform reports (none on the null platform) reaches the window as in the
        // windowed loop: a key pressed before a step acts before its tick.
        plat::WindowEvent event;
        while (!sprite.Terminated() && platform.display().pollEvent(event)) sprite.HandleWindowEvent(event);
        const std::uint64_t allocsBefore = memcheck::AllocationCount();
        const std::uint64_t setupsBefore = sprite.UserEventCount();
        const bool wasInPlay = gameSeen && InPlay(tz::SceneState);
        sprite.HeadlessStep(!options.noDraw);
        // A step of play allocates nothing; only a scene's set-up (loading a stage's banks
        // and map) may, and gives it all back by the time the title returns.
        if (wasInPlay && InPlay(tz::SceneState) && sprite.UserEventCount() == setupsBefore)
            playAllocs += static_cast<std::int64_t>(memcheck::AllocationCount() - allocsBefore);
        audioOut.AfterTick();
        if (!options.noDraw && IsShotStep(options, t + 1)) {
            std::string path;
            if (!WriteShot(sprite, options.shotDir, t + 1, path)) error = "cannot write the screenshot " + path;
        }
        summary.ticks = t + 1;
        watch.Observe(t + 1);
        if (trace != nullptr)
            std::fprintf(trace, "%lld %s\n", static_cast<long long>(t + 1), tz::HashText(tz::GameStateHash()).c_str());
        if (error.empty()) error = failed();
        if (error.empty()) error = heavyError;
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
                stepHash = tz::GameStateHash();
                haveStepHash = true;
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
    if (trace != nullptr) std::fclose(trace);
    watch.Finish();
    if (playLog != nullptr) std::fclose(playLog);
    tz::ClearInputFeed();
    FillGameFields(summary);
    summary.state = haveStepHash ? stepHash : tz::GameStateHash();
    summary.ending = watch.ReachedEnding();
    summary.bosses = watch.BossesDestroyed();
    summary.playAllocs = playAllocs;
    if (error.empty()) {
        sprite.Close();
        error = failed();
        if (error == "the game window closed") error.clear();
    }
    // --save-replay: the recording of the game in progress (a game that has ended was saved
    // by the title and its recording cleared: nothing is left to write).
    if (error.empty() && !options.saveReplay.empty()) {
        if (tz::ReplayMode || tz::ReplayPos <= 0) {
            error = "--save-replay: no game in progress at the end of the run";
        } else {
            const std::int32_t length = std::min(tz::ReplayPos, tz::ReplayBufferSize);
            const tz::TReplayResult saved = tz::WriteReplayFile(options.saveReplay, tz::Score, tz::ReplayBuffer.data(),
                                                                length, tz::GameStartFrom);
            if (!saved.Ok) error = "--save-replay: " + saved.Error;
        }
    }
    if (!audioOut.Close() && error.empty()) error = "--audio-out: writing '" + options.audioOut + "' failed";
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
        return options.headless ? RunHeadless(options) : RunWindowed(options);
    } catch (const std::exception& e) {
        PrintError(std::string("exception: ") + e.what());
        return 1;
    }
}

}  // namespace app
