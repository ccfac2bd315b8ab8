#pragma once
// The SDL display: a window whose client area shows the 8-bit frame through the palette,
// converted to XRGB8888 in a streaming texture and drawn by SDL_Renderer with vsync,
// nearest-neighbour, letterboxed, at an integer scale whenever one fits. Main thread only.

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/convert.h"
#include "platform/frame_pacer.h"
#include "platform/platform.h"

namespace plat {

class SdlInput;

// Error codes runStep returns (the engine shows them in hexadecimal).
enum class SdlError : int {
    VideoInit = 0x101,
    CreateWindow = 0x102,
    CreateRenderer = 0x103,
    CreateTexture = 0x104,
    SetFullScreen = 0x105,
    QueryMode = 0x106,
    NoWindow = 0x107,
};

class SdlDisplay final : public Display {
public:
    explicit SdlDisplay(SdlInput& input);
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    int runStep(DisplayStep step, int width, int height, bool fullScreen) override;
    void release() override;
    void setFullScreen(bool on) override;
    void setCaption(std::string_view text) override;
    void setCursorVisible(bool visible) override;
    void hide() override;
    void raise() override;
    bool present(const FrameView& frame, const Palette& palette) override;
    int refreshRate() const override;
    std::chrono::steady_clock::time_point nextRefresh() const override;
    PresentTimes lastPresent() const override { return last_; }
    bool pollEvent(WindowEvent& event) override;
    bool readback(std::vector<std::uint8_t>& rgba, int& width, int& height) override;
    std::string errorText() const override { return error_; }

    SDL_Window* window() const { return window_.get(); }
    bool selfPaced() const { return pacer_.selfPaced(); }

private:
    struct WindowDeleter { void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); } };
    struct RendererDeleter { void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); } };
    struct TextureDeleter { void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); } };

    int fail(SdlError code, const char* what);
    int createDevice(int width, int height, bool fullScreen);
    int applyLevel(int width, int height, bool fullScreen);
    int createTexture(int width, int height);
    bool drawTexture();   // clear, copy the texture letterboxed; false without resources
    void redraw();        // show the last frame again (exposed, resized)
    // Self-paced (or unseen): waits for the frame's refresh before the present, as a vsynced
    // present would. Then, once it is shown, records when.
    void waitForRefresh();
    // Paced at a given rate: the upload goes first, then the wait for the refresh it makes.
    bool uploadsBeforeRefresh() const;
    void shown(FramePacer::Clock::time_point shownAt);

    SdlInput& input_;
    bool videoInit_ = false;
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture_;
    int textureW_ = 0, textureH_ = 0;
    int windowW_ = 640, windowH_ = 480;   // client area in window mode
    int savedX_ = SDL_WINDOWPOS_CENTERED, savedY_ = SDL_WINDOWPOS_CENTERED;
    bool fullScreen_ = false;
    bool cursorVisible_ = true;
    std::string caption_ = "Korrindal";
    std::string error_;
    PaletteLookup lookup_{};
    FramePacer pacer_;
    FramePacer::Clock::time_point lastShown_{};
    PresentTimes last_{};
    // KORRINDAL_PACE_HZ: the window paces itself at this rate as if the display had it (no vsync).
    int pacedHz_ = 0;
};

}  // namespace plat
