// The platform of headless runs: no window, no input devices, and no audio unless an
// offline device is asked for. Steps succeed, frames are dropped, message boxes go to stderr. The timer is a real ThreadTimer (the
// headless runner simply never starts it).

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/timer_thread.h"

namespace plat {
namespace {

class NullDisplay final : public Display {
public:
    int runStep(DisplayStep, int, int, bool) override { return 0; }
    void release() override {}
    void setFullScreen(bool) override {}
    void setCaption(std::string_view) override {}
    void setCursorVisible(bool) override {}
    void hide() override {}
    void raise() override {}
    bool present(const FrameView&, const Palette&) override { return false; }
    int refreshRate() const override { return 60; }
    bool pollEvent(WindowEvent& event) override {
        event = WindowEvent{};
        return false;
    }
};

class NullInput final : public Input {
public:
    bool keyDown(Key) const override { return false; }
    int joystickCount() override { return 0; }
    bool joystickPos(int, JoyPos&) override { return false; }
};

class NullPlatform final : public Platform {
public:
    explicit NullPlatform(NullAudio audio) : audio_(audio) {}
    Display& display() override { return display_; }
    Timer& timer() override { return timer_; }
    Input& input() override { return input_; }
    void messageBox(BoxKind kind, std::string_view title, std::string_view text) override {
        const std::string line = std::string(kind == BoxKind::Information ? "information" : "warning") + " [" +
                                 std::string(title) + "]: " + std::string(text) + "\n";
        std::fputs(line.c_str(), stderr);
    }
    bool openWithDesktop(const std::string&) override { return false; }
    bool headless() const override { return true; }
    std::unique_ptr<AudioDevice> openAudio(AudioSource& source) override {
        return audio_ == NullAudio::Offline ? makeOfflineAudio(source) : nullptr;
    }

private:
    NullAudio audio_;
    NullDisplay display_;
    NullInput input_;
    ThreadTimer timer_;
};

}  // namespace

std::unique_ptr<Platform> makeNullPlatform(NullAudio audio) { return std::make_unique<NullPlatform>(audio); }

}  // namespace plat
