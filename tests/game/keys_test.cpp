// The player's keys (the binding table and its text in the settings), game controllers into
// the input byte, and devices that come and go during play.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "game/tz_gamepad.h"
#include "game/tz_input.h"
#include "game/tz_keys.h"
#include "platform/key_names.h"
#include "platform/platform.h"

using namespace tz;
using plat::Key;
using plat::PadButton;

namespace {

struct Devices final : plat::Input {
    std::array<bool, plat::KeyCount> keys{};
    std::vector<plat::PadState> pads;
    std::vector<plat::JoyPos> joysticks;
    std::uint32_t changes = 0;
    bool keyDown(Key key) const override { return keys[static_cast<std::size_t>(key)]; }
    int joystickCount() override { return static_cast<int>(joysticks.size()); }
    bool joystickPos(int index, plat::JoyPos& out) override {
        if (index < 0 || index >= static_cast<int>(joysticks.size())) return false;
        out = joysticks[static_cast<std::size_t>(index)];
        return true;
    }
    int padCount() const override { return static_cast<int>(pads.size()); }
    bool padState(int index, plat::PadState& out) const override {
        if (index < 0 || index >= static_cast<int>(pads.size())) return false;
        out = pads[static_cast<std::size_t>(index)];
        return true;
    }
    std::uint32_t deviceChanges() const override { return changes; }
    void hold(std::initializer_list<Key> held) {
        keys = {};
        for (Key k : held) keys[static_cast<std::size_t>(k)] = true;
    }
};

plat::PadState Stick(int x, int y, std::uint32_t buttons = 0) {
    plat::PadState p;
    p.leftX = static_cast<std::int16_t>(x);
    p.leftY = static_cast<std::int16_t>(y);
    p.buttons = buttons;
    return p;
}

class KeysTest : public ::testing::Test {
protected:
    Devices devices;
    void SetUp() override {
        KeyBindings = DefaultKeyBindings();
        PadDeadZone = DefaultPadDeadZone;
        SetInputDevice(&devices);
        DetectJoysticks();
        ClearInputFeed();
    }
    void TearDown() override {
        KeyBindings = DefaultKeyBindings();
        PadDeadZone = DefaultPadDeadZone;
        SetInputDevice(nullptr);
        DetectJoysticks();
    }
};

}  // namespace

TEST(KeyNames, EveryKeyHasItsOwnNameAndSpellingsAreForgiven) {
    for (std::size_t k = 0; k < plat::KeyCount; ++k) {
        const auto key = static_cast<Key>(k);
        const std::string_view name = plat::keyName(key);
        ASSERT_FALSE(name.empty()) << k;
        EXPECT_EQ(plat::keyFromName(name), key) << name;
    }
    EXPECT_EQ(plat::keyFromName("space"), Key::Space);
    EXPECT_EQ(plat::keyFromName("ENTER"), Key::Return);
    EXPECT_EQ(plat::keyFromName("Esc"), Key::Escape);
    EXPECT_EQ(plat::keyFromName("KP8"), Key::Numpad8);
    EXPECT_EQ(plat::keyFromName("numpad2"), Key::Numpad2);
    EXPECT_EQ(plat::keyFromName("f12"), Key::F12);
    EXPECT_EQ(plat::keyFromName("Spcae"), Key::Count);
    EXPECT_EQ(plat::keyFromName("KPKP8"), Key::Count);
    EXPECT_EQ(plat::keyFromName(""), Key::Count);
}

TEST(KeyLists, ParseAndFormat) {
    const TKeyListParse p = ParseKeyList("  z ,Space,  Spcae, z, Return, Tab, F1");
    EXPECT_EQ(p.Keys, (TKeyList{Key::Z, Key::Space, Key::Return, Key::Tab}));
    EXPECT_EQ(p.Unknown, std::vector<std::string>{"Spcae"});
    EXPECT_EQ(p.TooMany, std::vector<std::string>{"F1"});   // the repeated z counted once
    EXPECT_EQ(FormatKeyList(p.Keys), "Z, Space, Return, Tab");
    for (const char* empty : {"", "None", " none "}) {
        const TKeyListParse n = ParseKeyList(empty);
        EXPECT_EQ(n.Keys, (TKeyList{Key::Count, Key::Count, Key::Count, Key::Count})) << empty;
        EXPECT_TRUE(n.Unknown.empty()) << empty;
        EXPECT_EQ(FormatKeyList(n.Keys), "None");
    }
    // Every default list reads back as itself.
    for (std::size_t a = 0; a < ActionCount; ++a) {
        const TKeyList& keys = DefaultKeyBindings().Keys[a];
        EXPECT_EQ(ParseKeyList(FormatKeyList(keys)).Keys, keys) << ActionName(static_cast<TAction>(a));
    }
    EXPECT_EQ(ActionFromName("fastforward"), TAction::FastForward);
    EXPECT_EQ(ActionFromName("Jump"), TAction::Count);
}

TEST_F(KeysTest, DefaultKeysBesideTheFixedLayouts) {
    devices.hold({Key::W, Key::D, Key::Z});
    EXPECT_EQ(ReadDeviceInput(), KeyUp | KeyRight | KeyFire);
    devices.hold({Key::S, Key::A, Key::Space, Key::X});
    EXPECT_EQ(ReadDeviceInput(), KeyDown | KeyLeft | KeyFire | KeyBomb);
    // Up wins over down and right over left within the bound keys.
    devices.hold({Key::W, Key::S, Key::A, Key::D});
    EXPECT_EQ(BoundKeysByte(devices), KeyUp | KeyRight);
    // The fixed layouts still give their bytes, and the sources are ORed.
    devices.hold({Key::Backspace, Key::Num2, Key::Insert});
    EXPECT_EQ(ReadDeviceInput(), KeyFire | KeyBomb);
    devices.hold({Key::Home, Key::PageUp});
    EXPECT_EQ(ReadDeviceInput(), KeyButton3 | KeyButton4);
    // The window's own keys are no part of the byte.
    devices.hold({Key::P, Key::Tab, Key::F12});
    EXPECT_EQ(ReadDeviceInput(), 0);
}

TEST_F(KeysTest, RemappedKeysReplaceTheDefaults) {
    KeyBindings[TAction::Fire] = ParseKeyList("J").Keys;
    KeyBindings[TAction::Up] = ParseKeyList("I").Keys;
    devices.hold({Key::Z, Key::W});
    EXPECT_EQ(ReadDeviceInput(), 0);
    devices.hold({Key::J, Key::I});
    EXPECT_EQ(ReadDeviceInput(), KeyFire | KeyUp);
    KeyBindings[TAction::Button3] = ParseKeyList("C").Keys;
    devices.hold({Key::C});
    EXPECT_EQ(ReadDeviceInput(), KeyButton3);
    KeyBindings[TAction::Pause] = ParseKeyList("Return").Keys;
    EXPECT_TRUE(KeyBound(Key::Return, TAction::Pause));
    EXPECT_FALSE(KeyBound(Key::P, TAction::Pause));
    EXPECT_FALSE(KeyBound(Key::Count, TAction::Pause));
}

TEST_F(KeysTest, StickDeadZoneAndEightDirections) {
    const std::int32_t dz = 25;   // 8191 of 32767
    EXPECT_EQ(PadByte(Stick(8000, 0), dz), 0);
    EXPECT_EQ(PadByte(Stick(5000, -5000), dz), 0);   // 7071 from the centre
    EXPECT_EQ(PadByte(Stick(9000, 0), dz), KeyRight);
    EXPECT_EQ(PadByte(Stick(0, -32768), dz), KeyUp);
    EXPECT_EQ(PadByte(Stick(-20000, 20000), dz), KeyLeft | KeyDown);
    // Each direction an eighth of the circle: 20 degrees off the axis is still straight.
    EXPECT_EQ(PadByte(Stick(30000, -10920), dz), KeyRight);
    EXPECT_EQ(PadByte(Stick(30000, -13500), dz), KeyRight | KeyUp);
    EXPECT_EQ(PadByte(Stick(9000, 0), 30), 0);
    EXPECT_EQ(PadByte(Stick(32767, 0), 100), 0);
    EXPECT_EQ(PadByte(Stick(200, 0), 0), KeyRight);
}

TEST_F(KeysTest, PadButtonsAndDpad) {
    using plat::padBit;
    EXPECT_EQ(PadByte(Stick(0, 0, padBit(PadButton::A) | padBit(PadButton::B)), 25), KeyFire | KeyBomb);
    EXPECT_EQ(PadByte(Stick(0, 0, padBit(PadButton::X) | padBit(PadButton::Y)), 25), KeyButton3 | KeyButton4);
    EXPECT_EQ(PadByte(Stick(0, 0, padBit(PadButton::Start) | padBit(PadButton::RightShoulder)), 25), 0);
    const std::uint32_t all = padBit(PadButton::DpadUp) | padBit(PadButton::DpadDown) | padBit(PadButton::DpadLeft) |
                              padBit(PadButton::DpadRight);
    EXPECT_EQ(PadByte(Stick(0, 0, all), 25), KeyUp | KeyRight);
    // The stick down and the d-pad up: up wins.
    EXPECT_EQ(PadByte(Stick(0, 32767, padBit(PadButton::DpadUp)), 25), KeyUp);
}

TEST_F(KeysTest, ControllersComeAndGoDuringPlay) {
    EXPECT_EQ(ReadDeviceInput(), 0);
    devices.pads.push_back(Stick(-32768, 0));
    devices.pads.push_back(Stick(0, 0, plat::padBit(PadButton::A)));
    EXPECT_EQ(ReadDeviceInput(), KeyLeft | KeyFire);
    EXPECT_TRUE(PadButtonHeld(devices, PadButton::A));
    EXPECT_FALSE(PadButtonHeld(devices, PadButton::Start));
    devices.pads.clear();
    EXPECT_EQ(ReadDeviceInput(), 0);
}

TEST_F(KeysTest, JoystickPluggedInLaterIsSeenWithItsThresholds) {
    EXPECT_FALSE(JoyPresent[1]);
    devices.joysticks.push_back(plat::JoyPos{0, 32768, 0b0001});
    EXPECT_EQ(ReadInput(1), 0);   // the device list has not changed: not probed again
    devices.changes += 1;
    EXPECT_EQ(ReadInput(1), KeyLeft | KeyFire);
    EXPECT_TRUE(JoyPresent[1]);
    devices.joysticks[0] = plat::JoyPos{16384, 49152, 0};   // exactly on the thresholds
    EXPECT_EQ(ReadInput(1), 0);
    devices.joysticks.clear();
    devices.changes += 1;
    EXPECT_EQ(ReadInput(1), 0);
    EXPECT_FALSE(JoyPresent[1]);
}
