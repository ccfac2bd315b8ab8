#pragma once
// Keyboard, joystick and game controller state from SDL. SDL is driven on the main thread
// (the display's pollEvent feeds events here and refreshes the state); the game reads the
// state on the timer thread, so what it reads is a snapshot kept in atomics.
//
// Devices come and go at any time (hot-plug): a device SDL knows the layout of is a game
// controller (padState); any other is a plain joystick (joystickPos). Each list keeps the
// order the devices were connected in.

#include <SDL.h>

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/platform.h"

namespace plat {

class SdlInput final : public Input {
public:
    static constexpr int kMaxDevices = 8;

    SdlInput();   // needs SDL's joystick and game controller subsystems
    ~SdlInput() override;
    SdlInput(const SdlInput&) = delete;
    SdlInput& operator=(const SdlInput&) = delete;

    bool keyDown(Key key) const override;
    int joystickCount() override;
    bool joystickPos(int index, JoyPos& pos) override;
    int padCount() const override;
    bool padState(int index, PadState& state) const override;
    std::uint32_t deviceChanges() const override { return changes_.load(std::memory_order_acquire); }

    // Main thread only.
    void handleEvent(const SDL_Event& event);   // device arrival and removal
    void refresh();                              // snapshot keys and devices
    void clearKeys();                            // focus lost: nothing is held any more

private:
    struct Slot {
        SDL_Joystick* joystick = nullptr;        // raw joystick, or the controller's own
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        std::uint32_t order = 0;                 // connection count when it was opened
    };
    void open(int deviceIndex);
    void close(SDL_JoystickID id);
    static std::uint64_t sampleJoystick(SDL_Joystick* joystick);
    static std::uint64_t samplePad(SDL_GameController* controller);
    // The slot of the index-th device of one kind in connection order, or -1.
    int nth(int index, bool pads) const;

    std::array<Slot, kMaxDevices> slots_{};
    std::uint32_t opened_ = 0;
    // Per slot, bit 63 set when present. Joysticks: bits 0-15 x, 16-31 y, 32-35 buttons 1..4.
    // Controllers: bits 0-15 left x, 16-31 left y (both offset by 32768), 32-48 buttons.
    std::array<std::atomic<std::uint64_t>, kMaxDevices> joystickSnap_{};
    std::array<std::atomic<std::uint64_t>, kMaxDevices> padSnap_{};
    // Per slot, its place in connection order (read with the snapshots).
    std::array<std::atomic<std::uint32_t>, kMaxDevices> order_{};
    std::atomic<std::uint32_t> changes_{0};
    std::array<std::atomic<std::uint64_t>, 2> keys_{};   // bit i of the 128: Key i held
};

// The scancode of each plat::Key (by position, layout independent).
SDL_Scancode scancodeOf(Key key);
// The plat::Key at a scancode, or Key::Count for a key the game has no name for.
Key keyOf(SDL_Scancode code);
// The PadButton of an SDL controller button, or PadButton::Count.
PadButton padButtonOf(Uint8 sdlButton);

}  // namespace plat
