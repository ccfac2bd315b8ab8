// The windowed program: the startup dialog first, then the game window it starts.
//
// The dialog is the main form. Its start button (or a replay chosen from its list, or
// --start) hides it and shows the game window, whose engine then runs its own loop; when
// that engine terminates, the game window has the settings written and closes the dialog,
// which ends the program. Closing the dialog without starting ends the program at once and
// writes nothing.
//
// With --summary the game's ticks are followed (app/window_summary.h) and the summary line of
// the last game is printed once the windows are gone, as a headless run prints its own.

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/runner.h"
#include "app/theatre_controls.h"
#include "app/window_summary.h"
#include "core/data_path.h"
#include "diagnostics/memcheck.h"
#include "frontend/tz_debugmenu.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_main.h"
#include "platform/platform.h"

namespace app {
namespace {

void PrintError(const std::string& message) {
    const std::string line = "korrindal: " + message + "\n";
    std::fputs(line.c_str(), stderr);
}

// The program's message loop over its two windows: the dialog's frames while it is shown,
// the game window's loop once it has been started.
void RunMessageLoop(frontend::TForm2& dialog, tz::TForm1& game) {
    while (!dialog.Closed()) {
        if (dialog.Visible()) {
            if (!dialog.ProcessFrame()) break;   // no window to show it in
            continue;
        }
        if (dialog.Started() && !game.Sprite.Terminated()) {
            game.Sprite.RunLoop();
            continue;
        }
        // The game window ended without its termination (an exception stopped the engine).
        dialog.Close();
    }
}

}  // namespace

int RunWindowed(const ProgramOptions& options) {
    if (!options.home.empty()) tz::SetProgramDir(options.home);
    auto platform = plat::makeSdlPlatform();
    if (!platform) {
        PrintError("no display");
        return 1;
    }
    // The heap-block report at exit comes in a box, as the windows are gone by then.
    memcheck::SetExitReporter(plat::showInformationBoxNoOwner);
    tz::SetInputDevice(&platform->input());
    tz::DetectJoysticks();

    TWindowSummary follow;   // outlives the game window, whose ticks report to it
    auto game = std::make_unique<tz::TForm1>(*platform);
    // The replay theatre: a replay the dialog or the command line loads plays in it.
    auto theatre = std::make_unique<TTheatreControls>(*game);
    auto dialog = std::make_unique<frontend::TForm2>(*platform, *game);
    dialog->CommandLineReplay = options.replay;
    dialog->CommandLineLanguage = options.language;
    game->WriteSettings = [d = dialog.get()] { d->WriteSettings(); };
    game->CloseDialog = [d = dialog.get()] { d->Close(); };
    if (!options.frameLog.empty() && !game->Sprite.OpenFrameLog(options.frameLog)) {
        PrintError("--frame-log: cannot write '" + options.frameLog + "'");
        return 1;
    }
    std::string exceptionText;
    game->Sprite.OnException = [&exceptionText](const std::exception& e) { exceptionText = e.what(); };

    // Set before the engine starts: its timer thread reads OnProcess from then on.
    game->Sprite.OnProcess = [g = game.get(), t = theatre.get(), f = options.summary ? &follow : nullptr] {
        t->BeforeTick();
        if (f != nullptr) f->BeforeTick();
        g->SpriteProcess();
        if (f != nullptr) f->AfterTick();
    };

    dialog->FormShow();
    // Given on the command line, the choice is the dialog's box: the start button takes the
    // options from the boxes.
    if (options.smoothMotion >= 0) dialog->cbSmoothMotion.Checked = options.smoothMotion != 0;
    dialog->cbStartFrom.ItemIndex = options.startFrom;
    if (options.start) {
        dialog->btnStartClick();
    } else if (!dialog->OpenWindow()) {
        PrintError("the startup dialog cannot open: " + dialog->WindowError());
        return 1;
    }
    RunMessageLoop(*dialog, *game);

    const std::string failure = game->Sprite.LastFailure();
    // The loop has ended and the timer with it: no tick runs any more.
    RunSummary summary;
    if (options.summary) follow.Finish(summary);
    dialog.reset();
    theatre.reset();
    game.reset();
    platform.reset();
    if (!exceptionText.empty()) {
        PrintError("exception: " + exceptionText);
        return 1;
    }
    if (!failure.empty()) {
        PrintError(failure);
        return 1;
    }
    if (options.summary) {
        // Counted once the windows and the platform are gone, as in a headless run.
        summary.blocks = memcheck::BlockCount();
        std::printf("%s\n", SummaryJson(summary).c_str());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace app
