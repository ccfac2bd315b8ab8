// An information box that needs no window and no platform object, for reports made while the
// program ends (after the game window and the platform are gone).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace plat {

namespace {

bool boxesSwitchedOff() {
    const char* off = std::getenv("KORRINDAL_NO_MESSAGE_BOXES");
    return off != nullptr && *off != '\0' && std::strcmp(off, "0") != 0;
}

bool displayAvailable() {
    if (const char* driver = std::getenv("SDL_VIDEODRIVER");
        driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

void showInformationBoxNoOwner(const char* title, const char* text) {
    if (!boxesSwitchedOff() && displayAvailable() &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, text, nullptr) == 0)
        return;
    std::fprintf(stderr, "%s: %s\n", title, text);
}

}  // namespace plat
