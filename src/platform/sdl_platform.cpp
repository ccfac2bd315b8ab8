// The SDL platform: window and presenter, keyboard and joysticks, sound output, message
// boxes, opening files with the desktop. The timer is a ThreadTimer (absolute deadlines on
// the steady clock), which keeps its rate better than SDL_AddTimer.

#include <SDL.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "diagnostics/memcheck.h"
#include "platform/file_url.h"
#include "platform/imgui_form_window.h"
#include "platform/platform.h"
#include "platform/sdl_display.h"
#include "platform/sdl_input.h"
#include "platform/timer_thread.h"

namespace plat {
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

// Initialises SDL's event and input subsystems for the platform's lifetime (video starts
// with the window). SDL counts the initialisations, so the audio code may add its own.
struct SdlSubsystems {
    bool ok = false;
    SdlSubsystems() {
        const memcheck::ForeignScope systemCalls;
        // Closing a window is the engine's business (a close request), not a quit event.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        ok = SDL_InitSubSystem(kSubsystems) == 0;
        if (!ok) std::fprintf(stderr, "korrindal: SDL input: %s\n", SDL_GetError());
    }
    ~SdlSubsystems() {
        const memcheck::ForeignScope systemCalls;
        if (ok) SDL_QuitSubSystem(kSubsystems);
        // The last user of SDL shuts it down fully (its D-Bus connection and hints too).
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    }
    SdlSubsystems(const SdlSubsystems&) = delete;
    SdlSubsystems& operator=(const SdlSubsystems&) = delete;
};

bool headlessDriver(const char* name) {
    return name && (std::strcmp(name, "dummy") == 0 || std::strcmp(name, "offscreen") == 0);
}

// Whether a message box can be shown (a real display): otherwise it would fail, or block
// a test run waiting for a click nobody makes. Runs under a virtual X server set
// KORRINDAL_NO_MESSAGE_BOXES=1 for the same reason.
bool canShowBoxes() {
    if (const char* off = std::getenv("KORRINDAL_NO_MESSAGE_BOXES"); off && *off && std::strcmp(off, "0") != 0)
        return false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) return !headlessDriver(SDL_GetCurrentVideoDriver());
    if (headlessDriver(std::getenv("SDL_VIDEODRIVER"))) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// SDL's X11 message box draws its text with the fonts of the character type the C library
// is set to, which stays the plain "C" one unless the program sets it: only ASCII would be
// drawn, and a Japanese message would come out blank. Our texts are UTF-8.
void useUtf8CharacterType() {
    static const bool set = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr || std::setlocale(LC_CTYPE, "") != nullptr;
    (void)set;
}

class SdlPlatform final : public Platform {
public:
    SdlPlatform() : input_(), display_(input_) {}

    Display& display() override { return display_; }
    Timer& timer() override { return timer_; }
    Input& input() override { return input_; }

    void messageBox(BoxKind kind, std::string_view title, std::string_view text) override {
        const memcheck::ForeignScope systemCalls;  // desktop libraries allocate and keep
        const std::string t(title), m(text);
        std::fprintf(stderr, "%s [%s]: %s\n", kind == BoxKind::Information ? "information" : "warning", t.c_str(), m.c_str());
        if (!canShowBoxes()) return;
        useUtf8CharacterType();
        SDL_MessageBoxButtonData button{};
        button.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        button.buttonid = 0;
        button.text = kind == BoxKind::Warning ? "Abort" : "OK";
        SDL_MessageBoxData data{};
        data.flags = kind == BoxKind::Information ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_WARNING;
        data.window = display_.window();
        data.title = t.c_str();
        data.message = m.c_str();
        data.numbuttons = 1;
        data.buttons = &button;
        int hit = -1;
        if (SDL_ShowMessageBox(&data, &hit) != 0 && data.window) {
            data.window = nullptr;   // a full-screen parent can refuse; try on its own
            SDL_ShowMessageBox(&data, &hit);
        }
    }

    bool openWithDesktop(const std::string& path) override {
        const memcheck::ForeignScope systemCalls;  // desktop libraries allocate and keep
        std::error_code ec;
        const auto absolute = std::filesystem::absolute(path, ec);
        if (ec || !std::filesystem::exists(absolute, ec)) return false;
        return SDL_OpenURL(fileUrl(absolute.string()).c_str()) == 0;
    }

    bool headless() const override { return false; }
    std::unique_ptr<FormWindow> makeFormWindow() override { return makeImGuiFormWindow(); }
    std::unique_ptr<AudioDevice> openAudio(AudioSource& source) override { return openSdlAudio(source); }

private:
    SdlSubsystems subsystems_;   // first in, last out
    SdlInput input_;
    SdlDisplay display_;
    ThreadTimer timer_;
};

}  // namespace

std::unique_ptr<Platform> makeSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace plat
