#include "app/options.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/key_names.h"

namespace korrindal {
extern const char* const kVersion;
}

namespace app {
namespace {

using Apply = bool (*)(ProgramOptions& o, std::string_view value, std::string& error);

struct OptionRow {
    const char* name;       // with the leading "--"
    const char* argument;   // nullptr when the option takes no value
    bool headlessOnly;
    const char* help;
    Apply apply;
};

bool ParseCount(std::string_view text, std::int64_t& out) {
    std::int64_t v = 0;
    const auto* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc{} || p != end || v < 0) return false;
    out = v;
    return true;
}

// "T[,T...]": step numbers counted from 1.
bool ParseShotList(std::string_view text, std::vector<std::int64_t>& out) {
    std::vector<std::int64_t> list;
    while (true) {
        const auto comma = text.find(',');
        std::int64_t v = 0;
        if (!ParseCount(text.substr(0, comma), v) || v < 1) return false;
        list.push_back(v);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    out.insert(out.end(), list.begin(), list.end());
    return true;
}

// "T:KEY[,T:KEY...]": a key (by its settings-file name, "Shift+" before it for the shift key)
// pressed before step T.
bool ParsePressList(std::string_view text, std::vector<KeyPress>& out) {
    std::vector<KeyPress> list;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const auto colon = item.find(':');
        if (colon == std::string_view::npos) return false;
        KeyPress press;
        if (!ParseCount(item.substr(0, colon), press.step) || press.step < 1) return false;
        std::string_view name = item.substr(colon + 1);
        constexpr std::string_view shift = "Shift+";
        if (name.size() > shift.size() && name.substr(0, shift.size()) == shift) {
            press.shift = true;
            name.remove_prefix(shift.size());
        }
        press.key = plat::keyFromName(name);
        if (press.key == plat::Key::Count) return false;
        list.push_back(press);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    out.insert(out.end(), list.begin(), list.end());
    return true;
}

constexpr OptionRow kOptions[] = {
    {"--help", nullptr, false, "show this text and exit",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.help = true; }},
    {"--version", nullptr, false, "print the program's version and exit",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.version = true; }},
    {"--lang", "ja|en", false,
     "show the dialog, the message boxes and the window titles in Japanese or English, whatever the locale and "
     "the settings file's Language entry say (without it: the settings file's choice, else Japanese under a "
     "Japanese locale and English under any other)",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         tz::TLanguageChoice choice = tz::TLanguageChoice::Auto;
         if (tz::ParseLanguageChoice(v, choice)) {
             o.language = choice;
             return true;
         }
         e = "--lang needs ja, en or auto, not '" + std::string(v) + "'";
         return false;
     }},
    {"--headless", nullptr, false, "run without a window, timer thread or audio: each step is one tick then one frame",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.headless = true; }},
    {"--ticks", "N", true, "run N steps, then stop",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (ParseCount(v, o.ticks)) return true;
         e = "--ticks needs a whole number >= 0, not '" + std::string(v) + "'";
         return false;
     }},
    {"--no-draw", nullptr, true, "skip drawing (the scene set-ups still run after each tick)",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.noDraw = true; }},
    {"--summary", nullptr, false,
     "print one JSON line at the end: ticks, scene, stage, score, hiscore, replay_pos, time_left, lives, bombs, "
     "killed, spawned, weapon, bonus_rate, ending (the last game reached the ending), bosses (bosses destroyed "
     "in the last game), game_blocks (heap blocks a finished game left behind), play_allocs (heap allocations "
     "made by ticks of play outside scene set-ups; -1 in the game window), blocks, state (the hash after the "
     "last game tick); in the game window too, printed when it closes",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.summary = true; }},
    {"--replay", "FILE", false, "load the replay FILE (as the startup dialog does); the title then plays it",
     [](ProgramOptions& o, std::string_view v, std::string&) {
         o.replay = std::string(v);
         return true;
     }},
    {"--input", "FILE", true, "start a game at once and feed it the bytes of FILE as live input, one per game tick (0 after the end)",
     [](ProgramOptions& o, std::string_view v, std::string&) {
         o.input = std::string(v);
         return true;
     }},
    {"--start", nullptr, false, "press the startup dialog's start button at once (automated runs)",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.start = true; }},
    {"--start-from", "N", false, "start new games at N: 0 start, 1 stage 1 mid-boss, 2 stage 2, 3 stage 3, 4 stage 3 boss, 5 credits",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         std::int64_t n = 0;
         if (ParseCount(v, n) && n <= 5) {
             o.startFrom = static_cast<std::int32_t>(n);
             return true;
         }
         e = "--start-from needs a number 0..5, not '" + std::string(v) + "'";
         return false;
     }},
    {"--until-title", nullptr, true,
     "stop once a finished game has brought the title back (its replay saved); alone, at most 200000 steps",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.untilTitle = true; }},
    {"--heavy", nullptr, true,
     "run every tick twice from one snapshot, the second time silenced, and stop with an error naming the "
     "tick whose two results differ (state kept outside the game state record)",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.heavy = true; }},
    {"--autopilot", "LEVEL", true,
     "start a game at once and let the playtest autopilot play it: 0 weakest .. 3 strongest",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         std::int64_t n = 0;
         if (ParseCount(v, n) && n <= 3) {
             o.autopilot = static_cast<std::int32_t>(n);
             return true;
         }
         e = "--autopilot needs a level 0..3, not '" + std::string(v) + "'";
         return false;
     }},
    {"--autopilot-seed", "N", true, "seed of the autopilot's own choices (default 1)",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         std::int64_t n = 0;
         if (ParseCount(v, n) && n <= 0xFFFFFFFF) {
             o.autopilotSeed = static_cast<std::uint32_t>(n);
             return true;
         }
         e = "--autopilot-seed needs a whole number 0..4294967295, not '" + std::string(v) + "'";
         return false;
     }},
    {"--settings", nullptr, true,
     "read the settings and the best score from the program folder's INI file at the start and write them "
     "back when the game window closes, as the windowed program does",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.settings = true; }},
    {"--play-log", "FILE", true,
     "write one JSON line per event of play to FILE: stages begun, lives lost, bombs, weapons picked up, "
     "bosses in, destroyed and gone, each stage's busiest step",
     [](ProgramOptions& o, std::string_view v, std::string&) {
         o.playLog = std::string(v);
         return true;
     }},
    {"--frame-log", "FILE", false,
     "write one JSON line per present (t_us, tick, shown, draw_us, cpu_us, held) and per key or pad press "
     "(key_us, latency_us) to FILE; headless runs log their virtual clock",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (v.empty()) {
             e = "--frame-log needs a file name";
             return false;
         }
         o.frameLog = std::string(v);
         return true;
     }},
    {"--draw-hz", "N", true,
     "draw frames as a display of N Hz would (1..1000) on the steps' virtual clock, each at its moment "
     "between the ticks, instead of one frame per step",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         std::int64_t hz = 0;
         if (!ParseCount(v, hz) || hz < 1 || hz > 1000) {
             e = "--draw-hz needs a rate 1..1000, not '" + std::string(v) + "'";
             return false;
         }
         o.drawHz = static_cast<std::int32_t>(hz);
         return true;
     }},
    {"--smooth-motion", "on|off", false,
     "draw frames between ticks with the moving things blended between the last two ticks (on), or each "
     "frame as the last tick left it (off); without it the SmoothMotion setting (default on) decides",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (v != "on" && v != "off") {
             e = "--smooth-motion needs on or off, not '" + std::string(v) + "'";
             return false;
         }
         o.smoothMotion = v == "on" ? 1 : 0;
         return true;
     }},
    {"--hash-trace", "FILE", true, "write one line per step to FILE: the step number and the state hash",
     [](ProgramOptions& o, std::string_view v, std::string&) {
         o.hashTrace = std::string(v);
         return true;
     }},
    {"--home", "DIR", false, "use DIR as the program's folder for every file the game reads and writes",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         std::error_code ec;
         if (v.empty() || !std::filesystem::is_directory(std::filesystem::path(v), ec)) {
             e = "--home: '" + std::string(v) + "' is not a folder";
             return false;
         }
         o.home = std::filesystem::absolute(std::filesystem::path(v), ec).string();
         if (o.home.empty() || o.home.back() != '/') o.home += '/';
         return true;
     }},
    {"--shot", "T[,T...]", true,
     "after the frame of each listed step (counted from 1) write it as a PNG, palette applied",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (ParseShotList(v, o.shots)) return true;
         e = "--shot needs step numbers >= 1 separated by commas, not '" + std::string(v) + "'";
         return false;
     }},
    {"--shot-dir", "DIR", true,
     "folder for the --shot pictures (shot_<step>.png; made when missing; default: the current folder)",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (v.empty()) {
             e = "--shot-dir needs a folder name";
             return false;
         }
         o.shotDir = std::string(v);
         return true;
     }},
    {"--audio-out", "FILE", true,
     "render the game's sound (effects and music) in step with the ticks into FILE, a 48 kHz 16-bit stereo wave",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (v.empty()) {
             e = "--audio-out needs a file name";
             return false;
         }
         o.audioOut = std::string(v);
         return true;
     }},
    {"--save-replay", "FILE", true,
     "at the end of the run write the game in progress, as recorded so far, as the replay FILE (a game "
     "stopped by --ticks in mid-play; its playback for as many steps ends in the same state)",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (v.empty()) {
             e = "--save-replay needs a file name";
             return false;
         }
         o.saveReplay = std::string(v);
         return true;
     }},
    {"--seek", "T[,T...]", true,
     "with --replay: after the run's steps, seek to step T (counted from 1) through the replay's keyframes, "
     "then to each next T in turn, back or forth; the summary is the game's at the last T (a straight run of "
     "T steps gives the same), and --hash-trace gets a line \"T hash\" per seek",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (ParseShotList(v, o.seeks)) return true;
         e = "--seek needs step numbers >= 1 separated by commas, not '" + std::string(v) + "'";
         return false;
     }},
    {"--take-over", "T", true,
     "with --replay and --input FILE: play the replay for T steps, then play on from that state with the bytes "
     "of FILE as live input; the finished game is saved as LastGame (the replay's bytes so far, then the new "
     "input), the watched file is left as it was (the game goes to TakeOver when it would replace it)",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (ParseCount(v, o.takeOver) && o.takeOver >= 1) return true;
         e = "--take-over needs a step number >= 1, not '" + std::string(v) + "'";
         return false;
     }},
    {"--press", "T:KEY[,T:KEY...]", true,
     "with --replay: press KEY (a name as in the settings file; Shift+KEY with the shift key) in the game window "
     "before step T, as a player presses the replay theatre's keys (Left, Right, Home, End, Comma, Period, "
     "LeftBracket, RightBracket, Return, P); after the run a line {\"timeline\":...} gives the step the game "
     "stands at, the replay's first and last steps and the timeline's marks",
     [](ProgramOptions& o, std::string_view v, std::string& e) {
         if (ParsePressList(v, o.presses)) return true;
         e = "--press needs STEP:KEY items separated by commas, not '" + std::string(v) + "'";
         return false;
     }},
    {"--verify", nullptr, false,
     "re-simulate each replay file named after the options, headless, and print one JSON line per file: file, "
     "ok, score (re-simulated), recorded_score, ticks, state, check_ok, version (of its proof record; null "
     "without one), and when not ok the reason, first_bad_tick and differs_in; exit 0 only when every file is ok",
     [](ProgramOptions& o, std::string_view, std::string&) {
         o.headless = true;
         return o.verifyRun = true;
     }},
    {"--no-music", nullptr, true, "play without music (the startup dialog's music box cleared)",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.noMusic = true; }},
    {"--no-sound-effects", nullptr, true,
     "play without sound effects (the startup dialog's sound-effects box cleared)",
     [](ProgramOptions& o, std::string_view, std::string&) { return o.noSoundEffects = true; }},
};

const OptionRow* FindOption(std::string_view name) {
    for (const auto& row : kOptions)
        if (name == row.name) return &row;
    return nullptr;
}

}  // namespace

ParseResult ParseOptions(int argc, const char* const* argv, ProgramOptions& out) {
    ParseResult result;
    auto fail = [&](std::string message) {
        result.ok = false;
        result.error = std::move(message);
        return result;
    };
    bool headlessOnlySeen = false;
    std::string headlessOnlyName;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.size() < 2 || arg.substr(0, 2) != "--") {
            out.positional.emplace_back(arg);
            continue;
        }
        std::string_view name = arg, value;
        bool hasInlineValue = false;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasInlineValue = true;
        }
        const OptionRow* row = FindOption(name);
        if (row == nullptr) return fail("unknown option '" + std::string(name) + "' (see --help)");
        if (row->argument != nullptr && !hasInlineValue) {
            if (i + 1 >= argc) return fail(std::string(name) + " needs a value " + row->argument);
            value = argv[++i];
        } else if (row->argument == nullptr && hasInlineValue) {
            return fail(std::string(name) + " takes no value");
        }
        std::string error;
        if (!row->apply(out, value, error)) return fail(error);
        if (row->headlessOnly && !headlessOnlySeen) {
            headlessOnlySeen = true;
            headlessOnlyName = std::string(name);
        }
    }
    if (out.help || out.version) return result;
    // --verify takes every plain argument as a file to check.
    if (out.verifyRun) {
        if (out.positional.empty()) return fail("--verify needs one or more replay files");
        out.verify = std::move(out.positional);
        out.positional.clear();
        return result;
    }
    if (headlessOnlySeen && !out.headless) return fail(headlessOnlyName + " needs --headless");
    // The program's one plain argument names a replay to play, as --replay does.
    if (!out.positional.empty() && out.replay.empty()) {
        out.replay = out.positional.front();
        out.positional.erase(out.positional.begin());
    }
    if (!out.positional.empty()) return fail("unexpected argument '" + out.positional.front() + "'");
    // --until-title alone runs until the title is back, with a cap that ends in an error.
    if (out.headless && out.ticks < 0 && out.untilTitle) {
        out.ticks = kUntilTitleCap;
        out.ticksCapped = true;
    }
    if (out.headless && out.ticks < 0) return fail("a headless run needs --ticks N or --until-title");
    if (!out.shots.empty() && out.noDraw) return fail("--shot needs the frames drawn (not --no-draw)");
    if (out.drawHz > 0 && (out.noDraw || !out.shots.empty()))
        return fail("--draw-hz draws at its own rate: not with --no-draw or --shot");
    if (out.autopilot >= 0 && !out.input.empty()) return fail("--autopilot and --input both choose the input");
    if (out.autopilot >= 0 && !out.replay.empty()) return fail("--autopilot plays a new game, not a replay");
    if (!out.seeks.empty() && out.replay.empty()) return fail("--seek needs --replay");
    if (!out.presses.empty() && out.replay.empty()) return fail("--press needs --replay");
    if (out.takeOver >= 0 && (out.replay.empty() || out.input.empty()))
        return fail("--take-over needs --replay and --input");
    if (out.takeOver >= 0 && !out.seeks.empty()) return fail("--take-over and --seek cannot be combined");
    if (!out.saveReplay.empty() && !out.replay.empty()) return fail("--save-replay records a game, not a replay");
    return result;
}

std::string VersionText() { return std::string("korrindal ") + korrindal::kVersion + "\n"; }

std::string HelpText() {
    std::string text = "usage: korrindal [options] [REPLAY]\n"
                       "Without --headless the startup dialog opens; its start button opens the game window.\n"
                       "REPLAY (or --replay) is loaded when the dialog opens and plays when the game starts.\n\noptions:\n";
    for (const auto& row : kOptions) {
        std::string left = std::string("  ") + row.name;
        if (row.argument != nullptr) left += std::string(" ") + row.argument;
        if (left.size() < 18) left.resize(18, ' ');
        else left += ' ';
        text += left + row.help;
        if (row.headlessOnly) text += " (with --headless)";
        text += '\n';
    }
    return text;
}

}  // namespace app
