// Opens the game window through the SDL platform, shows a test pattern for a number of
// frames, reads the window back and checks what it shows: the pattern's colours where the
// letterbox puts them, black bars around it, and frames no faster than the display rate.
// Run under a virtual X server (see CMakeLists.txt). Exit codes: 0 pass, 1 fail, 77 no
// display to open (skipped).
//
//   xvfb_testpattern [--full-screen] [--frames N] [--shot FILE.png]

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/frame_pacer.h"
#include "platform/image_file.h"
#include "platform/letterbox.h"
#include "platform/platform.h"
#include "platform/sdl_display.h"

namespace {

constexpr int kW = 640, kH = 480;

// Eight colour bars over the top half, a 256-step grey ramp below, a white border.
struct Pattern {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kW * kH);
    plat::Palette palette{};
    Pattern() {
        constexpr std::array<plat::Rgb, 8> bars{{{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                                 {255, 0, 255}, {255, 0, 0}, {0, 0, 255}, {40, 40, 40}}};
        for (int i = 0; i < 8; ++i) palette[static_cast<std::size_t>(1 + i)] = bars[static_cast<std::size_t>(i)];
        for (int i = 16; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>((i - 16) * 255 / 239);
            palette[static_cast<std::size_t>(i)] = {v, v, v};
        }
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                std::uint8_t c = y < kH / 2 ? static_cast<std::uint8_t>(1 + x / (kW / 8))
                                            : static_cast<std::uint8_t>(16 + x * 240 / kW);
                if (x == 0 || y == 0 || x == kW - 1 || y == kH - 1) c = 1;
                pixels[static_cast<std::size_t>(y * kW + x)] = c;
            }
        }
    }
    plat::Rgb at(int x, int y) const { return palette[pixels[static_cast<std::size_t>(y * kW + x)]]; }
};

struct Shot {
    std::vector<std::uint8_t> rgba;
    int w = 0, h = 0;
    std::array<std::uint8_t, 3> at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
};

int failures = 0;
void check(bool ok, const std::string& what) {
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    }
}

// The frame's pixels land where the letterbox puts them; everything outside is black.
void checkPicture(const Shot& shot, const Pattern& pattern) {
    const plat::Rect place = plat::letterbox(kW, kH, shot.w, shot.h);
    check(place.w > 0, "picture has a place in the window");
    if (place.w <= 0) return;
    bool anyLit = false;
    for (std::size_t i = 0; i < shot.rgba.size(); i += 4) anyLit |= (shot.rgba[i] | shot.rgba[i + 1] | shot.rgba[i + 2]) != 0;
    check(anyLit, "window is not all black");
    // Sample the middle of each bar and a few ramp points, mapped into the window.
    for (int i = 0; i < 8; ++i) {
        for (int sy : {kH / 4, kH * 3 / 4}) {
            const int sx = i * (kW / 8) + kW / 16;
            const int wx = place.x + sx * place.w / kW, wy = place.y + sy * place.h / kH;
            const plat::Rgb want = pattern.at(sx, sy);
            const auto got = shot.at(wx, wy);
            char buf[160];
            std::snprintf(buf, sizeof buf, "pixel (%d,%d) shows (%d,%d,%d), frame has (%d,%d,%d)", wx, wy, got[0], got[1],
                          got[2], want.r, want.g, want.b);
            check(got == std::array<std::uint8_t, 3>{want.r, want.g, want.b}, buf);
        }
    }
    // Bars outside the picture are black.
    auto black = [&](int x, int y) { return shot.at(x, y) == std::array<std::uint8_t, 3>{0, 0, 0}; };
    if (place.y > 0) check(black(shot.w / 2, place.y / 2) && black(shot.w / 2, shot.h - 1 - place.y / 2), "top and bottom bars black");
    if (place.x > 0) check(black(place.x / 2, shot.h / 2) && black(shot.w - 1 - place.x / 2, shot.h / 2), "side bars black");
}

}  // namespace

int main(int argc, char** argv) {
    bool fullScreen = false;
    int frames = 60;
    std::string shotPath;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--full-screen")) fullScreen = true;
        else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc) frames = std::max(20, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--shot") && i + 1 < argc) shotPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--full-screen] [--frames N] [--shot FILE.png]\n", argv[0]);
            return 2;
        }
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::puts("no X display: skipped");
        return 77;
    }

    auto platform = plat::makeSdlPlatform();
    plat::Display& d = platform->display();
    d.setCaption("Korrindal test pattern");
    for (auto step : {plat::DisplayStep::CreateDevice, plat::DisplayStep::SetLevel, plat::DisplayStep::CreatePrimary,
                      plat::DisplayStep::CreatePalette, plat::DisplayStep::QueryMode}) {
        if (const int code = d.runStep(step, kW, kH, fullScreen); code != 0) {
            std::fprintf(stderr, "display step %d failed ( $%X ): %s\n", static_cast<int>(step), static_cast<unsigned>(code),
                         d.errorText().c_str());
            return code == static_cast<int>(plat::SdlError::VideoInit) ? 77 : 1;
        }
    }
    SDL_Window* window = dynamic_cast<plat::SdlDisplay&>(d).window();
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(SDL_GetRenderer(window), &info);
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    std::printf("video driver %s, renderer %s, desktop %dx%d at %d Hz\n", SDL_GetCurrentVideoDriver(), info.name, desktop.w,
                desktop.h, d.refreshRate());

    const Pattern pattern;
    const plat::FrameView frame{pattern.pixels.data(), kW, kW, kH};
    const auto start = std::chrono::steady_clock::now();
    int shown = 0;
    for (int i = 0; i < frames; ++i) {
        plat::WindowEvent e;
        while (d.pollEvent(e)) {}
        shown += d.present(frame, pattern.palette) ? 1 : 0;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
    const bool selfPaced = dynamic_cast<plat::SdlDisplay&>(d).selfPaced();
    std::printf("%d frames shown in %.0f ms (%.1f per second), %s\n", shown, ms, shown * 1000.0 / ms,
                selfPaced ? "vsync not honoured: the presenter paces itself" : "paced by vsync");
    check(shown == frames, "every present showed its frame");
    // Never faster than the display: only the frames before the presenter noticed a
    // missing vsync may come quickly. (A lower bound only: a slow machine passes.)
    const double period = 1000.0 / d.refreshRate();
    const double fastest = (frames - plat::FramePacer::kFastPresentsToSelfPace - 2) * period * 0.9;
    check(ms >= fastest, "frames not faster than the display rate (" + std::to_string(ms) + " ms < " + std::to_string(fastest) + " ms)");

    // The window manager may still be resizing a full-screen window: wait for its size.
    Shot shot;
    for (int tries = 0; tries < 100; ++tries) {
        plat::WindowEvent e;
        while (d.pollEvent(e)) {}
        d.present(frame, pattern.palette);
        if (!d.readback(shot.rgba, shot.w, shot.h)) break;
        const bool settled = fullScreen ? (shot.w == desktop.w && shot.h == desktop.h) : (shot.w == kW && shot.h == kH);
        if (settled) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    check(!shot.rgba.empty(), "window read back");
    if (!shot.rgba.empty()) {
        std::printf("window client area %dx%d\n", shot.w, shot.h);
        if (fullScreen) check(shot.w == desktop.w && shot.h == desktop.h, "full screen covers the desktop");
        else check(shot.w == kW && shot.h == kH, "window client area is 640x480");
        checkPicture(shot, pattern);
        if (!shotPath.empty()) {
            check(plat::writePng(shotPath, shot.rgba.data(), shot.w, shot.h), "screenshot written to " + shotPath);
            std::printf("screenshot %s\n", shotPath.c_str());
        }
    }

    // What a focus loss and return does: release the display, build it again, show again.
    // Then a switch of screen mode and back, as Alt+Enter does.
    d.release();
    check(!d.present(frame, pattern.palette), "nothing shown while released");
    for (auto step : {plat::DisplayStep::CreateDevice, plat::DisplayStep::SetLevel, plat::DisplayStep::CreatePrimary,
                      plat::DisplayStep::CreatePalette})
        check(d.runStep(step, kW, kH, fullScreen) == 0, "display rebuilt after release: " + d.errorText());
    for (bool mode : {!fullScreen, fullScreen}) {
        d.setFullScreen(mode);
        for (int i = 0; i < 5; ++i) {
            plat::WindowEvent e;
            while (d.pollEvent(e)) {}
            check(d.present(frame, pattern.palette), "frame shown after a rebuild or mode switch");
        }
    }
    Shot again;
    check(d.readback(again.rgba, again.w, again.h), "window read back after the rebuild");
    if (!again.rgba.empty()) checkPicture(again, pattern);

    // With message boxes switched off (as under CTest) a box must not wait for a click.
    if (const char* off = std::getenv("KORRINDAL_NO_MESSAGE_BOXES"); off && *off && std::strcmp(off, "0") != 0)
        platform->messageBox(plat::BoxKind::Warning, "Korrindal", "test pattern: this box goes to stderr");

    std::puts(failures ? "test pattern: FAILED" : "test pattern: passed");
    return failures ? 1 : 0;
}
