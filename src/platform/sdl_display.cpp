#include "platform/sdl_display.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "diagnostics/memcheck.h"
#include "platform/letterbox.h"
#include "platform/sdl_input.h"

namespace plat {

namespace {

// KORRINDAL_PACE_HZ=N (1..1000) in the environment; 0 when not set or not a rate.
int PacedRateFromEnvironment() {
    const char* text = std::getenv("KORRINDAL_PACE_HZ");
    if (!text) return 0;
    int hz = 0;
    const char* end = text + std::strlen(text);
    const auto [p, ec] = std::from_chars(text, end, hz);
    if (ec != std::errc{} || p != end || hz < 1 || hz > 1000) return 0;
    return hz;
}

}  // namespace

SdlDisplay::SdlDisplay(SdlInput& input) : input_(input), pacedHz_(PacedRateFromEnvironment()) {}

SdlDisplay::~SdlDisplay() {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    texture_.reset();
    renderer_.reset();
    window_.reset();
    if (videoInit_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlDisplay::fail(SdlError code, const char* what) {
    error_ = std::string(what) + ": " + SDL_GetError();
    return static_cast<int>(code);
}

int SdlDisplay::runStep(DisplayStep step, int width, int height, bool fullScreen) {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    switch (step) {
    case DisplayStep::CreateDevice: return createDevice(width, height, fullScreen);
    case DisplayStep::SetLevel: return applyLevel(width, height, fullScreen);
    case DisplayStep::CreatePrimary: return createTexture(width, height);
    case DisplayStep::CreatePalette:
        // The lookup is rebuilt from the palette on every present; it needs the texture.
        return texture_ ? 0 : fail(SdlError::CreateTexture, "palette before the frame texture");
    case DisplayStep::QueryMode: {
        SDL_DisplayMode mode;
        const int index = window_ ? SDL_GetWindowDisplayIndex(window_.get()) : 0;
        if (!videoInit_ || index < 0 || SDL_GetDesktopDisplayMode(index, &mode) != 0)
            return fail(SdlError::QueryMode, "SDL_GetDesktopDisplayMode");
        return 0;
    }
    }
    return fail(SdlError::NoWindow, "unknown display step");
}

int SdlDisplay::createDevice(int width, int height, bool fullScreen) {
    if (width <= 0 || height <= 0) return fail(SdlError::CreateWindow, "window size");
    if (!videoInit_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail(SdlError::VideoInit, "SDL_InitSubSystem(VIDEO)");
        videoInit_ = true;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, pacedHz_ > 0 ? "0" : "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");   // closing is the engine's business
    windowW_ = width;
    windowH_ = height;
    if (!window_) {
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_.reset(SDL_CreateWindow(caption_.c_str(), savedX_, savedY_, width, height, flags));
        if (!window_) return fail(SdlError::CreateWindow, "SDL_CreateWindow");
        fullScreen_ = fullScreen;
    }
    if (!renderer_) {
        if (pacedHz_ == 0) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_PRESENTVSYNC));
        if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
        if (!renderer_) return fail(SdlError::CreateRenderer, "SDL_CreateRenderer");
        SDL_RendererInfo info;
        if (pacedHz_ > 0 ||
            (SDL_GetRendererInfo(renderer_.get(), &info) == 0 && !(info.flags & SDL_RENDERER_PRESENTVSYNC)))
            pacer_.forceSelfPaced();
        pacer_.setRate(refreshRate());
        SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
        SDL_RenderClear(renderer_.get());
    }
    SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
    return 0;
}

int SdlDisplay::applyLevel(int width, int height, bool fullScreen) {
    if (!window_) return fail(SdlError::NoWindow, "no window");
    if (width > 0 && height > 0) {
        windowW_ = width;
        windowH_ = height;
    }
    SDL_Window* w = window_.get();
    const bool isFull = SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN;
    if (fullScreen) {
        if (!isFull) {
            SDL_GetWindowPosition(w, &savedX_, &savedY_);
            if (SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
                return fail(SdlError::SetFullScreen, "SDL_SetWindowFullscreen");
        }
    } else {
        if (isFull && SDL_SetWindowFullscreen(w, 0) != 0) return fail(SdlError::SetFullScreen, "SDL_SetWindowFullscreen");
        int cw = 0, ch = 0;
        SDL_GetWindowSize(w, &cw, &ch);
        if (cw != windowW_ || ch != windowH_) SDL_SetWindowSize(w, windowW_, windowH_);
        if (isFull) SDL_SetWindowPosition(w, savedX_, savedY_);
    }
    fullScreen_ = fullScreen;
    pacer_.setRate(refreshRate());
    return 0;
}

int SdlDisplay::createTexture(int width, int height) {
    if (!renderer_) return fail(SdlError::NoWindow, "no renderer");
    if (width <= 0 || height <= 0) return fail(SdlError::CreateTexture, "frame size");
    if (texture_ && textureW_ == width && textureH_ == height) return 0;
    texture_.reset();
    textureW_ = textureH_ = 0;
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, width, height));
    if (!texture_) return fail(SdlError::CreateTexture, "SDL_CreateTexture");
    SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(texture_.get(), SDL_BLENDMODE_NONE);
    textureW_ = width;
    textureH_ = height;
    // Start black, like a freshly cleared screen.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) == 0) {
        auto* row = static_cast<std::uint8_t*>(pixels);
        for (int y = 0; y < height; ++y, row += pitch) std::fill_n(row, static_cast<std::size_t>(width) * 4, 0);
        SDL_UnlockTexture(texture_.get());
    }
    return 0;
}

void SdlDisplay::release() {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    // The frame texture goes; the window and its renderer stay until the platform ends, so
    // a focus change does not rebuild (on X11 with OpenGL: re-create) the window.
    texture_.reset();
    textureW_ = textureH_ = 0;
}

void SdlDisplay::setFullScreen(bool on) {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    fullScreen_ = on;
    if (window_) applyLevel(windowW_, windowH_, on);
}

void SdlDisplay::setCaption(std::string_view text) {
    caption_.assign(text);
    if (window_) SDL_SetWindowTitle(window_.get(), caption_.c_str());
}

void SdlDisplay::setCursorVisible(bool visible) {
    cursorVisible_ = visible;
    if (videoInit_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlDisplay::hide() {
    if (window_) SDL_HideWindow(window_.get());
}

void SdlDisplay::raise() {
    if (!window_) return;
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
}

int SdlDisplay::refreshRate() const {
    if (pacedHz_ > 0) return pacedHz_;
    if (!videoInit_) return 60;
    const int index = window_ ? SDL_GetWindowDisplayIndex(window_.get()) : 0;
    SDL_DisplayMode mode;
    if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0 && mode.refresh_rate > 0) return mode.refresh_rate;
    return 60;
}

bool SdlDisplay::drawTexture() {
    if (!renderer_ || !texture_) return false;
    SDL_Renderer* r = renderer_.get();
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    int outW = 0, outH = 0;
    if (SDL_GetRendererOutputSize(r, &outW, &outH) != 0) return false;
    const Rect place = letterbox(textureW_, textureH_, outW, outH);
    const SDL_Rect dst{place.x, place.y, place.w, place.h};
    return SDL_RenderCopy(r, texture_.get(), nullptr, &dst) == 0;
}

void SdlDisplay::redraw() {
    if (drawTexture()) SDL_RenderPresent(renderer_.get());
}

bool SdlDisplay::present(const FrameView& frame, const Palette& palette) {
    if (!renderer_ || !texture_ || !frame.pixels || frame.width <= 0 || frame.height <= 0) return false;
    if (frame.pitch < frame.width) return false;
    if ((frame.width != textureW_ || frame.height != textureH_) && createTexture(frame.width, frame.height) != 0)
        return false;
    using Clock = FramePacer::Clock;
    const auto began = Clock::now();
    buildLookup(palette, lookup_);
    void* pixels = nullptr;
    int pitch = 0;
    PresentTimes times;
    {
        const memcheck::ForeignScope driverCalls;  // a GL driver compiles and caches as it draws
        if (SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) != 0) return false;
        convertFrame(frame, lookup_, pixels, pitch);
        SDL_UnlockTexture(texture_.get());
        if (!drawTexture()) return false;
        if (uploadsBeforeRefresh()) {
            // A display of the paced rate shows at its refresh whatever was handed over
            // before it: a frame whose upload is held up (the window system, or the machine,
            // busy for a few milliseconds) still makes its refresh when drawn ahead enough.
            times.handOff = Clock::now();
            SDL_RenderPresent(renderer_.get());
            times.ready = Clock::now();
            times.beforeRefresh = std::chrono::duration_cast<std::chrono::microseconds>(times.ready - began);
            times.shown = pacer_.nextDeadline(times.ready);
            std::this_thread::sleep_until(times.shown);
        } else {
            times.beforeRefresh = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began);
            waitForRefresh();
            times.handOff = Clock::now();
            SDL_RenderPresent(renderer_.get());
            times.ready = times.shown = Clock::now();
        }
    }
    last_ = times;
    shown(times.shown);
    return true;
}

bool SdlDisplay::uploadsBeforeRefresh() const {
    const Uint32 flags = window_ ? SDL_GetWindowFlags(window_.get()) : 0;
    return pacedHz_ > 0 && !(flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

std::chrono::steady_clock::time_point SdlDisplay::nextRefresh() const {
    if (!pacer_.selfPaced()) return {};
    return pacer_.peekDeadline(FramePacer::Clock::now());
}

void SdlDisplay::waitForRefresh() {
    const Uint32 flags = window_ ? SDL_GetWindowFlags(window_.get()) : 0;
    const bool unseen = flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED);
    // A hidden or minimised window returns from present at once even with vsync: do not
    // spin. The frame goes out at its refresh, as a vsynced present would.
    if (pacer_.selfPaced() || unseen) std::this_thread::sleep_until(pacer_.nextDeadline(FramePacer::Clock::now()));
}

void SdlDisplay::shown(FramePacer::Clock::time_point shownAt) {
    const Uint32 flags = window_ ? SDL_GetWindowFlags(window_.get()) : 0;
    const bool unseen = flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED);
    // An unseen window's presents do not count against the renderer.
    if (lastShown_ != FramePacer::Clock::time_point{} && !unseen) pacer_.observe(shownAt - lastShown_);
    lastShown_ = shownAt;
}

bool SdlDisplay::pollEvent(WindowEvent& event) {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    event = WindowEvent{};
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        input_.handleEvent(e);
        switch (e.type) {
        case SDL_QUIT:
            event.type = WindowEventType::CloseRequest;
            return true;
        case SDL_WINDOWEVENT:
            if (!window_ || e.window.windowID != SDL_GetWindowID(window_.get())) break;
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                event.type = WindowEventType::CloseRequest;
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                input_.clearKeys();
                event.type = WindowEventType::FocusLost;
                return true;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                event.type = WindowEventType::FocusGained;
                return true;
            case SDL_WINDOWEVENT_EXPOSED:
                redraw();
                event.type = WindowEventType::Exposed;
                return true;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                redraw();
                break;
            case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                pacer_.setRate(refreshRate());
                break;
            default: break;
            }
            break;
        case SDL_KEYDOWN: {
            if (e.key.repeat) break;
            const Key key = keyOf(e.key.keysym.scancode);
            if (key == Key::Count) break;
            input_.refresh();
            event.type = WindowEventType::KeyDown;
            event.key = key;
            event.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            event.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN: {
            const PadButton button = padButtonOf(e.cbutton.button);
            if (button == PadButton::Count) break;
            input_.refresh();
            event.type = WindowEventType::PadButtonDown;
            event.button = button;
            return true;
        }
        default: break;
        }
    }
    input_.refresh();
    return false;
}

bool SdlDisplay::readback(std::vector<std::uint8_t>& rgba, int& width, int& height) {
    const memcheck::ForeignScope driverCalls;  // driver blocks are not the program's own
    // The back buffer is undefined after a present: draw the last frame again and read it.
    if (!drawTexture()) return false;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_.get(), &w, &h) != 0 || w <= 0 || h <= 0) return false;
    rgba.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    if (SDL_RenderReadPixels(renderer_.get(), nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), w * 4) != 0) return false;
    width = w;
    height = h;
    return true;
}

}  // namespace plat
