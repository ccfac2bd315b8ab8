// The game window with a game controller plugged in after it started: a virtual controller
// (SDL's virtual joystick, which goes through the same event path as a real one) is attached
// on the title, its A button starts a game and its stick moves the ship left, then right; the
// controller is then pulled out, and the game goes on. Run under a virtual X server (see
// CMakeLists.txt). Exit codes: 0 pass, 1 fail, 77 no display to open (skipped).
//
//   xvfb_gamepad HOME    (HOME: an empty folder for the game's files)

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/data_path.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_main.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

// Frames of 60 Hz at most before the test gives up.
constexpr int kFrameLimit = 60 * 40;

struct TPadScript {
    int frame = 0;
    int phaseStart = 0;
    int phase = 0;
    int device = -1;
    SDL_Joystick* stick = nullptr;
    std::int32_t startX = 0;
    std::string failure;
    bool passed = false;

    void next() {
        ++phase;
        phaseStart = frame;
    }
    int inPhase() const { return frame - phaseStart; }
    void fail(const std::string& why) {
        if (failure.empty()) failure = why;
    }

    // Each frame, on the main thread with the engine locked.
    void step() {
        ++frame;
        if (frame > kFrameLimit) fail("timed out in phase " + std::to_string(phase));
        if (!failure.empty() || passed) return;
        switch (phase) {
        case 0:   // on the title for a while: plug the controller in
            if (tz::SceneState == tz::Scene::Title && inPhase() > 60) {
                device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                   SDL_CONTROLLER_BUTTON_MAX, 0);
                stick = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
                if (!stick) return fail(std::string("no virtual controller: ") + SDL_GetError());
                next();
            }
            break;
        case 1:   // press A: the game starts
            if (inPhase() == 10) SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
            if (inPhase() == 20) SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
            if (tz::SceneState == tz::Scene::Play) next();
            if (inPhase() > 600) fail("A on the controller did not start a game");
            break;
        case 2:   // the ship has flown in: push the stick left
            if (inPhase() == 240) {
                startX = tz::MyShip.XPos();
                SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
                next();
            }
            break;
        case 3:
            if (tz::MyShip.XPos() <= startX - 40) {
                std::printf("stick left: the ship went from x %d to %d\n", startX, tz::MyShip.XPos());
                startX = tz::MyShip.XPos();
                SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
                next();
            } else if (inPhase() > 180) {
                fail("the stick pushed left did not move the ship (x " + std::to_string(startX) + " -> " +
                     std::to_string(tz::MyShip.XPos()) + ")");
            }
            break;
        case 4:
            if (tz::MyShip.XPos() >= startX + 40) {
                std::printf("stick right: the ship went from x %d to %d\n", startX, tz::MyShip.XPos());
                // Pulled out while pushed: nothing is held any more.
                SDL_JoystickClose(stick);
                stick = nullptr;
                SDL_JoystickDetachVirtual(device);
                next();
            } else if (inPhase() > 180) {
                fail("the stick pushed right did not move the ship");
            }
            break;
        case 5:
            if (inPhase() == 30) startX = tz::MyShip.XPos();
            if (inPhase() == 90) {
                if (tz::MyShip.XPos() != startX) return fail("the ship kept moving after the controller was pulled out");
                passed = true;
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
            break;
        default: break;
        }
        if (!failure.empty()) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::puts("skipped: no display");
        return 77;
    }
    if (argc < 2) {
        std::fputs("usage: xvfb_gamepad HOME\n", stderr);
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("KORRINDAL_NO_MESSAGE_BOXES", "1", 1);
    // A folder of the game's own, with the data it reads linked in.
    const fs::path home = argv[1];
    std::error_code ec;
    fs::remove_all(home, ec);
    fs::create_directories(home);
    for (const auto& entry : fs::directory_iterator(KORRINDAL_BIN_DIR)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid")
            fs::create_symlink(entry.path(), home / entry.path().filename());
    }
    tz::SetProgramDir(home.string());

    auto platform = plat::makeSdlPlatform();
    tz::SetInputDevice(&platform->input());
    tz::DetectJoysticks();
    tz::FullScreen = false;
    tz::EnableBGM = false;
    tz::EnableSE = false;
    TPadScript script;
    {
        tz::TForm1 form(*platform);
        form.Sprite.SetFullScreenMode(false);
        auto draw = form.Sprite.OnRefresh;
        form.Sprite.OnRefresh = [&] {
            draw();
            script.step();
        };
        form.Show();
        if (form.Sprite.Terminated() || !form.Sprite.LastFailure().empty()) {
            std::printf("skipped: the game window cannot open: %s\n", form.Sprite.LastFailure().c_str());
            return 77;
        }
        form.Sprite.RunLoop();
        if (!form.Sprite.LastFailure().empty()) script.fail(form.Sprite.LastFailure());
    }
    if (script.stick) SDL_JoystickClose(script.stick);
    tz::SetInputDevice(nullptr);
    if (!script.passed) {
        std::printf("FAIL: %s\n", script.failure.empty() ? "the window closed early" : script.failure.c_str());
        return 1;
    }
    std::puts("pass");
    return 0;
}
