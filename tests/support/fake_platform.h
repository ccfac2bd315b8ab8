#pragma once
// The one platform of the tests: shows nothing and records what it is asked. The display
// records its steps, caption, cursor and frames and can refuse a step; it reports queued
// window events and key presses before chosen steps. The timer runs either by hand (the
// test calls tick()) or on a thread of its own. The input reports held keys and joysticks.
// Message boxes, files opened with the desktop and dialog windows are recorded or scripted.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace testplat {

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
    bool presentResult = true;   // what present() answers: whether the frame was shown
    bool keepFrames = true;      // present() keeps a copy of the frame in lastFrame
    int presents = 0;
    std::vector<std::uint8_t> lastFrame;
    plat::Palette lastPalette{};
    std::deque<plat::WindowEvent> events;
    // Key presses reported before chosen steps, counted from 1: a step's polling ends when
    // pollEvent says there is no more.
    std::map<long long, plat::Key> pressesBeforeStep;

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
        if (keepFrames)
            lastFrame.assign(frame.pixels, frame.pixels + static_cast<std::ptrdiff_t>(frame.pitch) * frame.height);
        lastPalette = palette;
        return presentResult;
    }
    int refreshRate() const override { return 60; }
    bool pollEvent(plat::WindowEvent& event) override {
        if (!events.empty()) {
            event = events.front();
            events.pop_front();
            return true;
        }
        const auto press = pressesBeforeStep.find(step_);
        if (!pressDelivered_ && press != pressesBeforeStep.end()) {
            pressDelivered_ = true;
            event = plat::WindowEvent{};
            event.type = plat::WindowEventType::KeyDown;
            event.key = press->second;
            return true;
        }
        ++step_;
        pressDelivered_ = false;
        return false;
    }

private:
    long long step_ = 1;
    bool pressDelivered_ = false;
};

// By hand (the default): start() only records; the test calls tick(). Threaded: ticks every
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
    // By hand: one tick now, on the caller's thread.
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
    std::array<bool, plat::KeyCount> held{};
    int joysticks = 0;                       // what joystickCount() answers
    std::array<bool, 4> joystickPresent{};   // joystickPos() answers for these
    std::array<plat::JoyPos, 4> joystickAt{};

    // Exactly these keys held.
    void hold(std::initializer_list<plat::Key> keys) {
        held = {};
        for (plat::Key k : keys) held[static_cast<std::size_t>(k)] = true;
    }
    bool keyDown(plat::Key key) const override { return held[static_cast<std::size_t>(key)]; }
    int joystickCount() override { return joysticks; }
    bool joystickPos(int index, plat::JoyPos& pos) override {
        if (index < 0 || index >= 4 || !joystickPresent[static_cast<std::size_t>(index)]) return false;
        pos = joystickAt[static_cast<std::size_t>(index)];
        return true;
    }
};

struct Box {
    plat::BoxKind kind;
    std::string title, text;
};

class FakePlatform : public plat::Platform {
public:
    FakeDisplay displayImpl;
    FakeTimer timerImpl;
    FakeInput inputImpl;
    bool isHeadless = true;   // false: the game reads its input
    bool keepBoxes = true;    // message boxes are kept in boxes
    std::vector<Box> boxes;
    std::vector<std::string> opened;   // files opened with the desktop
    bool openSucceeds = true;
    std::function<std::unique_ptr<plat::FormWindow>()> windows;   // makes the dialog windows

    plat::Display& display() override { return displayImpl; }
    plat::Timer& timer() override { return timerImpl; }
    plat::Input& input() override { return inputImpl; }
    void messageBox(plat::BoxKind kind, std::string_view title, std::string_view text) override {
        if (keepBoxes) boxes.push_back({kind, std::string(title), std::string(text)});
    }
    bool openWithDesktop(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }
    bool headless() const override { return isHeadless; }
    std::unique_ptr<plat::FormWindow> makeFormWindow() override { return windows ? windows() : nullptr; }
};

}  // namespace testplat
