// Keyboard layouts and joysticks into the input byte.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "game/tz_input.h"
#include "support/fake_platform.h"

using namespace tz;
using plat::Key;

namespace {

class InputTest : public ::testing::Test {
protected:
    testplat::FakeInput device;
    void SetUp() override {
        device.joysticks = 4;
        SetInputDevice(&device);
        ClearInputFeed();
    }
    void TearDown() override {
        SetInputDevice(nullptr);
        DetectJoysticks();
        ClearInputFeed();
    }
};

}  // namespace

TEST_F(InputTest, LayoutAGivesUpAndRightPriority) {
    device.hold({Key::Up, Key::Down});
    EXPECT_EQ(ReadInput(0), KeyUp);
    device.hold({Key::Numpad2, Key::Left, Key::Right});
    EXPECT_EQ(ReadInput(0), KeyDown | KeyRight);
    device.hold({Key::Numpad4, Key::Numpad8});
    EXPECT_EQ(ReadInput(0), KeyUp | KeyLeft);
    device.hold({Key::Backspace, Key::Insert, Key::Home, Key::PageUp});
    EXPECT_EQ(ReadInput(0), KeyFire | KeyBomb | KeyButton3 | KeyButton4);
    // Layout B keys do not reach layout A, and the other way round.
    device.hold({Key::T, Key::Num1});
    EXPECT_EQ(ReadInput(0), 0);
    EXPECT_EQ(ReadInput(3), KeyUp | KeyFire);
}

TEST_F(InputTest, LayoutBKeys) {
    device.hold({Key::T, Key::V, Key::H, Key::F});
    EXPECT_EQ(ReadInput(3), KeyUp | KeyRight);
    device.hold({Key::V, Key::F, Key::Num2, Key::Num3, Key::Num4});
    EXPECT_EQ(ReadInput(3), KeyDown | KeyLeft | KeyBomb | KeyButton3 | KeyButton4);
    device.hold({Key::Up});
    EXPECT_EQ(ReadInput(3), 0);
}

TEST_F(InputTest, JoystickThresholdsAreStrict) {
    EXPECT_EQ(JoystickByte(16384, 32768, 0), 0);
    EXPECT_EQ(JoystickByte(49152, 32768, 0), 0);
    EXPECT_EQ(JoystickByte(32768, 16384, 0), 0);
    EXPECT_EQ(JoystickByte(32768, 49152, 0), 0);
    EXPECT_EQ(JoystickByte(16383, 16383, 0), KeyLeft | KeyUp);
    EXPECT_EQ(JoystickByte(49153, 49153, 0), KeyRight | KeyDown);
    EXPECT_EQ(JoystickByte(32768, 32768, 0b0001), KeyFire);
    EXPECT_EQ(JoystickByte(32768, 32768, 0b1111), KeyFire | KeyBomb | KeyButton3 | KeyButton4);
    EXPECT_EQ(JoystickByte(32768, 32768, 0b110000), 0);  // buttons beyond 4 are not read
}

TEST_F(InputTest, JoysticksSeenOnlyWhenPresentAtDetection) {
    device.joystickPresent = {true, false, true, true};
    device.joystickAt[0] = {0, 0, 1};
    device.joystickAt[2] = {65535, 32768, 2};
    device.joystickAt[3] = {32768, 65535, 0};
    DetectJoysticks();
    EXPECT_TRUE(JoyPresent[0]);
    EXPECT_TRUE(JoyPresent[1]);
    EXPECT_FALSE(JoyPresent[2]);
    EXPECT_TRUE(JoyPresent[3]);
    EXPECT_TRUE(JoyPresent[4]);
    EXPECT_TRUE(JoyPresent[5]);
    EXPECT_EQ(ReadInput(1), KeyUp | KeyLeft | KeyFire);
    EXPECT_EQ(ReadInput(2), 0);
    EXPECT_EQ(ReadInput(4), KeyRight | KeyBomb);
    EXPECT_EQ(ReadInput(5), KeyDown);
    EXPECT_EQ(ReadInput(6), 0);
    EXPECT_EQ(ReadInput(255), 0);

    // Plugged in later: not seen until the next detection.
    device.joystickPresent[1] = true;
    device.joystickAt[1] = {0, 32768, 0};
    EXPECT_EQ(ReadInput(2), 0);
    // Unplugged after detection: a failed read gives 0.
    device.joystickPresent[0] = false;
    EXPECT_EQ(ReadInput(1), 0);

    // Sources 4 and 5 never reach the game.
    device.hold({});
    EXPECT_EQ(ReadDeviceInput(), 0);
    EXPECT_EQ(ReadPlayerInput(), 0);
}

TEST_F(InputTest, NoDeviceMeansNoInput) {
    SetInputDevice(nullptr);
    DetectJoysticks();
    EXPECT_TRUE(JoyPresent[0]);
    EXPECT_FALSE(JoyPresent[1]);
    for (std::uint8_t s = 0; s < 8; ++s) EXPECT_EQ(ReadInput(s), 0) << int(s);
}

TEST_F(InputTest, FeedReplacesLiveInputUntilItsEnd) {
    device.hold({Key::Backspace});
    const std::array<std::uint8_t, 3> bytes{5, 16, 34};
    SetInputFeed(bytes.data(), bytes.size());
    EXPECT_TRUE(FeedStartPending);
    EXPECT_EQ(ReadDeviceInput(), KeyFire);  // the title still sees the devices
    EXPECT_EQ(ReadPlayerInput(), 5);
    EXPECT_EQ(ReadPlayerInput(), 16);
    EXPECT_EQ(ReadPlayerInput(), 34);
    EXPECT_EQ(ReadPlayerInput(), 0);
    EXPECT_EQ(ReadPlayerInput(), 0);
    ClearInputFeed();
    EXPECT_EQ(ReadPlayerInput(), KeyFire);
}
