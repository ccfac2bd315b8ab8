#pragma once
// A platform for engine tests: records what the engine asks of it, can refuse a display
// step or the timer, and runs the timer either on a real thread or by hand.

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace enginetest {

struct StepCall {
    plat::DisplayStep step;
    int width, height;
    bool fullScreen;
};

class FakeDisplay final : public plat::Display {
public:
    std::optional<plat::DisplayStep> refuseStep;   // this step returns refuseCode
    int refuseCode = 0x8876;
    std::vector<StepCall> steps;
    int releases = 0;
    std::vector<bool> fullScreenCalls;
    std::function<void(bool)> onSetFullScreen;
    std::string caption;
    bool cursorVisible = true;
    bool hidden = false;
    int presents = 0;
    std::vector<std::uint8_t> lastFrame;
    plat::Palette lastPalette{};
    std::deque<plat::WindowEvent> events;

    int runStep(plat::DisplayStep step, int width, int height, bool fullScreen) override {
        steps.push_back({step, width, height, fullScreen});
        return refuseStep && *refuseStep == step ? refuseCode : 0;
    }
    void release() override { ++releases; }
    void setFullScreen(bool on) override {
        fullScreenCalls.push_back(on);
        if (onSetFullScreen) onSetFullScreen(on);
    }
    void setCaption(std::string_view text) override { caption = text; }
    void setCursorVisible(bool visible) override { cursorVisible = visible; }
    void hide() override { hidden = true; }
    void raise() override {}
    bool present(const plat::FrameView& frame, const plat::Palette& palette) override {
        ++presents;
        lastFrame.assign(frame.pixels, frame.pixels + static_cast<std::ptrdiff_t>(frame.pitch) * frame.height);
        lastPalette = palette;
        return true;
    }
    int refreshRate() const override { return 60; }
    bool pollEvent(plat::WindowEvent& event) override {
        if (events.empty()) return false;
        event = events.front();
        events.pop_front();
        return true;
    }
};

// Manual mode: start() only records; the test calls tick(). Threaded mode: ticks every
// period on a thread of its own, on absolute deadlines.
class FakeTimer final : public plat::Timer {
public:
    bool threaded = false;
    int refuseStarts = 0;   // this many start() calls are refused (-1: all of them)
    int startCalls = 0;
    int stopCalls = 0;
    int lastPeriod = 0;
    std::atomic<bool> running{false};

    ~FakeTimer() override { stop(); }

    int start(int periodMs, std::function<void()> tick) override {
        ++startCalls;
        if (refuseStarts != 0) {
            if (refuseStarts > 0) --refuseStarts;
            return 0;
        }
        stop();
        lastPeriod = periodMs;
        tick_ = std::move(tick);
        running = true;
        stopRequested_ = false;
        if (threaded) {
            thread_ = std::thread([this, periodMs] {
                auto next = std::chrono::steady_clock::now();
                while (!stopRequested_.load()) {
                    next += std::chrono::milliseconds(periodMs);
                    std::this_thread::sleep_until(next);
                    if (stopRequested_.load()) break;
                    tick_();
                }
            });
        }
        return ++lastId_;
    }
    bool stop() override {
        ++stopCalls;
        stopRequested_ = true;
        if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
        running = false;
        return true;
    }
    // Manual mode: one tick now, on the caller's thread.
    void tick() {
        if (running && tick_) tick_();
    }

private:
    std::function<void()> tick_;
    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
    int lastId_ = 0;
};

class FakeInput final : public plat::Input {
public:
    bool keyDown(plat::Key) const override { return false; }
    int joystickCount() override { return 0; }
    bool joystickPos(int, plat::JoyPos&) override { return false; }
};

struct Box {
    plat::BoxKind kind;
    std::string title, text;
};

class FakePlatform final : public plat::Platform {
public:
    FakeDisplay displayImpl;
    FakeTimer timerImpl;
    FakeInput inputImpl;
    std::vector<Box> boxes;

    plat::Display& display() override { return displayImpl; }
    plat::Timer& timer() override { return timerImpl; }
    plat::Input& input() override { return inputImpl; }
    void messageBox(plat::BoxKind kind, std::string_view title, std::string_view text) override {
        boxes.push_back({kind, std::string(title), std::string(text)});
    }
    bool openWithDesktop(const std::string&) override { return false; }
    bool headless() const override { return true; }
};

}  // namespace enginetest
