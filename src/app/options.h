#pragma once
// The command line of the program. Options are rows of one table (options.cpp): adding an
// option is adding a field here and a row there.

#include <cstdint>
#include <string>
#include <vector>

#include "core/ui_language.h"
#include "platform/platform.h"

namespace app {

// The most steps --until-title runs without --ticks (about 48 minutes of play).
inline constexpr std::int64_t kUntilTitleCap = 200000;

// --press: a key pressed in the game window before a step.
struct KeyPress {
    std::int64_t step = 0;
    plat::Key key = plat::Key::Count;
    bool shift = false;
};

struct ProgramOptions {
    bool help = false;
    bool version = false;      // print the version and exit
    tz::TLanguageChoice language = tz::TLanguageChoice::Auto;   // --lang: the texts' language
    bool headless = false;
    std::int64_t ticks = -1;   // headless: steps to run (-1 = not given)
    bool noDraw = false;       // headless: skip the refresh of each step
    bool summary = false;      // one JSON line at the end (headless, or when the game window closes)
    std::string home;          // the program's folder for the game's files ("" = the executable's)
    std::string replay;        // a replay file loaded as the startup dialog does; the title plays it
    std::string input;         // headless: raw input bytes fed to the game's ticks as live input
    bool start = false;        // press the startup dialog's start button at once
    std::int32_t startFrom = 0;  // where a new game starts: 0..5 (the dialog's start-from choice)
    bool untilTitle = false;   // headless: stop once a finished game has brought the title back
    std::string hashTrace;     // headless: write "tick hash" per step to this file
    bool heavy = false;        // headless: run every tick twice from one snapshot and compare
    bool settings = false;     // headless: read the INI file at the start, write it at the end
    bool ticksCapped = false;  // headless: ticks is --until-title's cap, not a given count
    std::int32_t autopilot = -1;       // headless: the autopilot's level 0..3 plays (-1 = none)
    std::uint32_t autopilotSeed = 1;   // headless: seed of the autopilot's own choices
    std::string playLog;               // headless: write the play log (app/play_watch.h) to this file
    std::vector<std::int64_t> shots;   // headless: steps (counted from 1) whose frame is saved
    std::string shotDir = ".";         // headless: where the screenshots go
    std::string audioOut;              // headless: the run's sound as a wave file ("" = none)
    std::string saveReplay;            // headless: the game in progress at the end, as a replay file
    bool noMusic = false;              // headless: the startup dialog's music box cleared
    bool noSoundEffects = false;       // headless: the startup dialog's sound-effects box cleared
    std::int64_t takeOver = -1;        // headless, with --replay and --input: the step the player takes over at
    std::vector<std::int64_t> seeks;   // headless, with --replay: after the run, seek to these steps in turn
    std::vector<KeyPress> presses;     // headless, with --replay: the replay theatre's keys pressed before steps
    bool verifyRun = false;            // --verify: check the files below, nothing else
    std::vector<std::string> verify;   // replay files to re-simulate and check (--verify)
    std::string frameLog;              // one JSON line per present and per key press (engine/frame_log.h)
    std::int32_t drawHz = 0;           // headless: frames drawn at this rate of the virtual clock (0: one per step)
    std::int32_t smoothMotion = -1;    // --smooth-motion: 1 on, 0 off, -1 as the settings say
    std::vector<std::string> positional;
};

struct ParseResult {
    bool ok = true;
    std::string error;   // what was wrong, for stderr
};

ParseResult ParseOptions(int argc, const char* const* argv, ProgramOptions& out);

// "korrindal VERSION" and a line end.
std::string VersionText();

// The usage text listing every option.
std::string HelpText();

}  // namespace app
