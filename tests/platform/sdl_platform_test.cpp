// The SDL platform under SDL's dummy video driver: no display is needed.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl_display.h"
#include "platform/sdl_input.h"

namespace {

class SdlPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        platform = plat::makeSdlPlatform();
    }
    void TearDown() override { platform.reset(); }

    void drainEvents() {
        plat::WindowEvent e;
        while (platform->display().pollEvent(e)) {}
    }

    std::unique_ptr<plat::Platform> platform;
};

TEST_F(SdlPlatformTest, KeysMapToDistinctScancodesBothWays) {
    for (int k = 0; k < static_cast<int>(plat::Key::Count); ++k) {
        const auto key = static_cast<plat::Key>(k);
        const SDL_Scancode code = plat::scancodeOf(key);
        EXPECT_NE(code, SDL_SCANCODE_UNKNOWN);
        EXPECT_EQ(plat::keyOf(code), key);
    }
    EXPECT_EQ(plat::keyOf(SDL_SCANCODE_F12), plat::Key::F12);
    EXPECT_EQ(plat::keyOf(SDL_SCANCODE_CAPSLOCK), plat::Key::Count);
    EXPECT_EQ(plat::scancodeOf(plat::Key::Count), SDL_SCANCODE_UNKNOWN);
    EXPECT_FALSE(platform->input().keyDown(plat::Key::Count));
}

TEST_F(SdlPlatformTest, RawVirtualJoystickPositionsAndButtons) {
    plat::Input& in = platform->input();
    EXPECT_EQ(in.joystickCount(), 0);
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 1);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(device);
    ASSERT_NE(stick, nullptr);
    drainEvents();
    ASSERT_EQ(in.joystickCount(), 1);

    plat::JoyPos pos;
    ASSERT_TRUE(in.joystickPos(0, pos));
    EXPECT_EQ(pos.x, 32768u);
    EXPECT_EQ(pos.y, 32768u);
    EXPECT_EQ(pos.buttons, 0u);
    EXPECT_FALSE(in.joystickPos(1, pos));
    EXPECT_FALSE(in.joystickPos(-1, pos));

    SDL_JoystickSetVirtualAxis(stick, 0, -32768);
    SDL_JoystickSetVirtualAxis(stick, 1, 32767);
    SDL_JoystickSetVirtualButton(stick, 0, 1);
    SDL_JoystickSetVirtualButton(stick, 2, 1);
    SDL_JoystickSetVirtualButton(stick, 4, 1);   // button 5: not reported
    drainEvents();
    ASSERT_TRUE(in.joystickPos(0, pos));
    EXPECT_EQ(pos.x, 0u);
    EXPECT_EQ(pos.y, 65535u);
    EXPECT_EQ(pos.buttons, 0b0101u);

    // The hat counts as the stick pushed to its end.
    SDL_JoystickSetVirtualAxis(stick, 0, 0);
    SDL_JoystickSetVirtualAxis(stick, 1, 0);
    SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_RIGHTUP);
    drainEvents();
    ASSERT_TRUE(in.joystickPos(0, pos));
    EXPECT_EQ(pos.x, 65535u);
    EXPECT_EQ(pos.y, 0u);

    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
    drainEvents();
    EXPECT_EQ(in.joystickCount(), 0);
    EXPECT_FALSE(in.joystickPos(0, pos));
}

TEST_F(SdlPlatformTest, VirtualGameControllerIsAPadWithStickAndButtons) {
    plat::Input& in = platform->input();
    const std::uint32_t changes = in.deviceChanges();
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(device));
    SDL_Joystick* stick = SDL_JoystickOpen(device);
    ASSERT_NE(stick, nullptr);
    drainEvents();
    // A controller is a pad, not one of the plain joysticks.
    EXPECT_EQ(in.joystickCount(), 0);
    ASSERT_EQ(in.padCount(), 1);
    EXPECT_NE(in.deviceChanges(), changes);

    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    drainEvents();
    plat::PadState pad;
    ASSERT_TRUE(in.padState(0, pad));
    EXPECT_EQ(pad.leftX, 32767);
    EXPECT_EQ(pad.leftY, -32768);
    EXPECT_EQ(pad.buttons, plat::padBit(plat::PadButton::B) | plat::padBit(plat::PadButton::Start) |
                               plat::padBit(plat::PadButton::RightShoulder) | plat::padBit(plat::PadButton::DpadLeft) |
                               plat::padBit(plat::PadButton::RightTrigger));
    EXPECT_FALSE(in.padState(1, pad));

    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
    drainEvents();
    EXPECT_EQ(in.padCount(), 0);
    EXPECT_FALSE(in.padState(0, pad));
}

TEST_F(SdlPlatformTest, ControllerButtonPressIsAWindowEvent) {
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(device);
    ASSERT_NE(stick, nullptr);
    drainEvents();
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickUpdate();
    plat::WindowEvent e;
    bool seen = false;
    while (platform->display().pollEvent(e))
        if (e.type == plat::WindowEventType::PadButtonDown && e.button == plat::PadButton::Start) seen = true;
    EXPECT_TRUE(seen);
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
    drainEvents();
}

TEST_F(SdlPlatformTest, DevicesKeepTheirConnectionOrderAcrossHotPlug) {
    plat::Input& in = platform->input();
    auto attach = [](int axes) {
        const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, 4, 0);
        SDL_Joystick* j = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
        return std::pair{device, j};
    };
    // Device indices shift as devices go: a virtual one is detached by its instance.
    auto detach = [](SDL_Joystick* j) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(j);
        SDL_JoystickClose(j);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    };
    auto [d1, j1] = attach(2);
    auto [d2, j2] = attach(3);
    (void)d1;
    (void)d2;
    ASSERT_NE(j1, nullptr);
    ASSERT_NE(j2, nullptr);
    SDL_JoystickSetVirtualAxis(j1, 0, -32768);   // the first one leans left
    SDL_JoystickSetVirtualAxis(j2, 0, 32767);    // the second one right
    drainEvents();
    ASSERT_EQ(in.joystickCount(), 2);
    plat::JoyPos pos;
    ASSERT_TRUE(in.joystickPos(0, pos));
    EXPECT_EQ(pos.x, 0u);
    ASSERT_TRUE(in.joystickPos(1, pos));
    EXPECT_EQ(pos.x, 65535u);
    // The first goes: the second becomes joystick 0; a new one comes after it.
    detach(j1);
    auto [d3, j3] = attach(2);
    (void)d3;
    ASSERT_NE(j3, nullptr);
    drainEvents();
    ASSERT_EQ(in.joystickCount(), 2);
    ASSERT_TRUE(in.joystickPos(0, pos));
    EXPECT_EQ(pos.x, 65535u);
    ASSERT_TRUE(in.joystickPos(1, pos));
    EXPECT_EQ(pos.x, 32768u);
    for (SDL_Joystick* j : {j2, j3}) detach(j);
    drainEvents();
    EXPECT_EQ(in.joystickCount(), 0);
}

TEST_F(SdlPlatformTest, PresentsAndReadsBackTheFrame) {
    plat::Display& d = platform->display();
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreateDevice, 640, 480, false), 0) << d.errorText();
    ASSERT_EQ(d.runStep(plat::DisplayStep::SetLevel, 640, 480, false), 0) << d.errorText();
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreatePrimary, 640, 480, false), 0) << d.errorText();
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreatePalette, 640, 480, false), 0) << d.errorText();
    ASSERT_EQ(d.runStep(plat::DisplayStep::QueryMode, 640, 480, false), 0) << d.errorText();

    // Four vertical bands of four colours.
    std::vector<std::uint8_t> pixels(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) pixels[static_cast<std::size_t>(y * 640 + x)] = static_cast<std::uint8_t>(1 + x / 160);
    plat::Palette palette{};
    palette[1] = {255, 0, 0};
    palette[2] = {0, 255, 0};
    palette[3] = {0, 0, 255};
    palette[4] = {10, 20, 30};
    EXPECT_TRUE(d.present(plat::FrameView{pixels.data(), 640, 640, 480}, palette));

    std::vector<std::uint8_t> rgba;
    int w = 0, h = 0;
    ASSERT_TRUE(d.readback(rgba, w, h));
    ASSERT_EQ(w, 640);
    ASSERT_EQ(h, 480);
    auto at = [&](int x, int y) {
        const std::size_t i = static_cast<std::size_t>((y * w + x) * 4);
        return std::array{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    };
    EXPECT_EQ(at(0, 0), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(at(200, 100), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    EXPECT_EQ(at(400, 479), (std::array<std::uint8_t, 4>{0, 0, 255, 255}));
    EXPECT_EQ(at(639, 240), (std::array<std::uint8_t, 4>{10, 20, 30, 255}));

    // A frame of another size gets a texture of its own size.
    std::vector<std::uint8_t> small(320 * 240, 2);
    EXPECT_TRUE(d.present(plat::FrameView{small.data(), 320, 320, 240}, palette));
    ASSERT_TRUE(d.readback(rgba, w, h));
    EXPECT_EQ(at(0, 0), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));   // shown at 2x: fills the window

    // Released: nothing to present or read; a new device brings it back.
    d.release();
    EXPECT_FALSE(d.present(plat::FrameView{pixels.data(), 640, 640, 480}, palette));
    EXPECT_FALSE(d.readback(rgba, w, h));
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreateDevice, 640, 480, false), 0) << d.errorText();
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreatePrimary, 640, 480, false), 0) << d.errorText();
    EXPECT_TRUE(d.present(plat::FrameView{pixels.data(), 640, 640, 480}, palette));
}

TEST_F(SdlPlatformTest, PacedDisplayShowsEachFrameAtTheRefreshItMakes) {
    // Paced at 100 Hz, the display acts as a vsynced one: the frame is uploaded at once, shown
    // at the next refresh of its grid, and present returns no earlier. A frame not uploaded
    // by its refresh is shown when it is ready and the grid goes on from there.
    platform.reset();
    setenv("KORRINDAL_PACE_HZ", "100", 1);
    platform = plat::makeSdlPlatform();
    unsetenv("KORRINDAL_PACE_HZ");
    plat::Display& d = platform->display();
    for (auto step : {plat::DisplayStep::CreateDevice, plat::DisplayStep::SetLevel, plat::DisplayStep::CreatePrimary})
        ASSERT_EQ(d.runStep(step, 320, 240, false), 0) << d.errorText();
    ASSERT_EQ(d.refreshRate(), 100);
    std::vector<std::uint8_t> pixels(320 * 240, 1);
    const plat::Palette palette{};
    const auto period = std::chrono::milliseconds(10);
    plat::PresentTimes before;
    for (int i = 0; i < 12; ++i) {
        const auto due = d.nextRefresh();
        ASSERT_TRUE(d.present(plat::FrameView{pixels.data(), 320, 320, 240}, palette));
        const auto returned = std::chrono::steady_clock::now();
        const plat::PresentTimes t = d.lastPresent();
        EXPECT_LE(t.handOff, t.ready);
        EXPECT_LE(t.ready, t.shown);
        EXPECT_GE(returned, t.shown);
        EXPECT_GT(t.beforeRefresh.count(), 0);
        if (i > 0) {
            if (t.ready <= before.shown + period) {
                EXPECT_EQ(t.shown, before.shown + period) << "frame " << i;
                EXPECT_EQ(t.shown, due) << "frame " << i;
            } else {
                EXPECT_EQ(t.shown, t.ready) << "frame " << i;
            }
        }
        before = t;
        if (i == 8) std::this_thread::sleep_until(t.shown + 2 * period + std::chrono::milliseconds(3));  // late
    }
}

TEST_F(SdlPlatformTest, StepsNeedTheirPredecessors) {
    plat::Display& d = platform->display();
    EXPECT_NE(d.runStep(plat::DisplayStep::SetLevel, 640, 480, false), 0);
    EXPECT_NE(d.runStep(plat::DisplayStep::CreatePrimary, 640, 480, false), 0);
    EXPECT_FALSE(d.errorText().empty());
    EXPECT_NE(d.runStep(plat::DisplayStep::CreateDevice, 0, 480, false), 0);
    std::vector<std::uint8_t> pixels(16, 0);
    EXPECT_FALSE(d.present(plat::FrameView{pixels.data(), 4, 4, 4}, plat::Palette{}));
}

TEST_F(SdlPlatformTest, EventsMapToWindowEvents) {
    plat::Display& d = platform->display();
    ASSERT_EQ(d.runStep(plat::DisplayStep::CreateDevice, 640, 480, false), 0) << d.errorText();
    drainEvents();
    const Uint32 id = SDL_GetWindowID(dynamic_cast<plat::SdlDisplay&>(d).window());

    auto push = [](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); };
    auto key = [](SDL_Scancode code, Uint16 mod, Uint8 repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = code;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        return e;
    };
    auto window = [id](Uint8 what, Uint32 windowId = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = windowId ? windowId : id;
        e.window.event = what;
        return e;
    };
    push(key(SDL_SCANCODE_RETURN, KMOD_LALT, 0));
    push(key(SDL_SCANCODE_RETURN, KMOD_LALT, 1));   // auto-repeat: dropped
    push(key(SDL_SCANCODE_CAPSLOCK, 0, 0));         // a key without a name: dropped
    push(key(SDL_SCANCODE_ESCAPE, 0, 0));
    push(window(SDL_WINDOWEVENT_FOCUS_LOST));
    push(window(SDL_WINDOWEVENT_FOCUS_GAINED, id + 1000));   // another window: dropped
    push(window(SDL_WINDOWEVENT_FOCUS_GAINED));
    push(window(SDL_WINDOWEVENT_EXPOSED));
    push(window(SDL_WINDOWEVENT_CLOSE));

    std::vector<plat::WindowEvent> got;
    plat::WindowEvent e;
    while (d.pollEvent(e)) got.push_back(e);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0].type, plat::WindowEventType::KeyDown);
    EXPECT_EQ(got[0].key, plat::Key::Return);
    EXPECT_TRUE(got[0].alt);
    EXPECT_EQ(got[1].type, plat::WindowEventType::KeyDown);
    EXPECT_EQ(got[1].key, plat::Key::Escape);
    EXPECT_FALSE(got[1].alt);
    EXPECT_EQ(got[2].type, plat::WindowEventType::FocusLost);
    EXPECT_EQ(got[3].type, plat::WindowEventType::FocusGained);
    EXPECT_EQ(got[4].type, plat::WindowEventType::Exposed);
    EXPECT_EQ(got[5].type, plat::WindowEventType::CloseRequest);
}

TEST_F(SdlPlatformTest, MessageBoxFallsBackToStderrWithoutADisplay) {
    testing::internal::CaptureStderr();
    platform->messageBox(plat::BoxKind::Warning, "Korrindal", "Fail at Init.CreateDD ( $103 )");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Fail at Init.CreateDD ( $103 )"), std::string::npos);
}

}  // namespace
