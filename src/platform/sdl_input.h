#pragma once
// Keyboard and joystick state from SDL. SDL is driven on the main thread (the display's
// pollEvent feeds events here and refreshes the state); the game reads the state on the
// timer thread, so what it reads is a snapshot kept in atomics.

#include <SDL.h>

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/platform.h"

namespace plat {

class SdlInput final : public Input {
public:
    static constexpr int kMaxJoysticks = 8;

    SdlInput();   // needs SDL's joystick and game controller subsystems
    ~SdlInput() override;
    SdlInput(const SdlInput&) = delete;
    SdlInput& operator=(const SdlInput&) = delete;

    bool keyDown(Key key) const override;
    int joystickCount() override;
    bool joystickPos(int index, JoyPos& pos) override;

    // Main thread only.
    void handleEvent(const SDL_Event& event);   // device arrival and removal
    void refresh();                              // snapshot keys and joysticks
    void clearKeys();                            // focus lost: nothing is held any more

private:
    struct Slot {
        SDL_Joystick* joystick = nullptr;        // raw joystick, or the controller's own
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
    };
    void open(int deviceIndex);
    void close(SDL_JoystickID id);
    static std::uint64_t sample(const Slot& slot);

    std::array<Slot, kMaxJoysticks> slots_{};
    // Per slot: bit 63 present, bits 0-15 x, 16-31 y, 32-35 buttons 1..4.
    std::array<std::atomic<std::uint64_t>, kMaxJoysticks> snapshot_{};
    std::atomic<std::uint64_t> keys_{0};   // bit i: Key i held
};

// The scancode of each plat::Key (by position, layout independent).
SDL_Scancode scancodeOf(Key key);
// The plat::Key at a scancode, or Key::Count when the engine does not read that key.
Key keyOf(SDL_Scancode code);

}  // namespace plat
