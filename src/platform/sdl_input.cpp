#include "platform/sdl_input.h"

#include <algorithm>

namespace plat {
namespace {

constexpr std::array<SDL_Scancode, static_cast<std::size_t>(Key::Count)> kScancodes{
    SDL_SCANCODE_UP,     SDL_SCANCODE_DOWN,   SDL_SCANCODE_LEFT,   SDL_SCANCODE_RIGHT, SDL_SCANCODE_Z,
    SDL_SCANCODE_X,      SDL_SCANCODE_C,      SDL_SCANCODE_A,      SDL_SCANCODE_S,     SDL_SCANCODE_D,
    SDL_SCANCODE_Q,      SDL_SCANCODE_W,      SDL_SCANCODE_E,      SDL_SCANCODE_SPACE, SDL_SCANCODE_LSHIFT,
    SDL_SCANCODE_RSHIFT, SDL_SCANCODE_LCTRL,  SDL_SCANCODE_RCTRL,  SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE,
    SDL_SCANCODE_LALT,   SDL_SCANCODE_RALT,   SDL_SCANCODE_F1,     SDL_SCANCODE_F2,
    SDL_SCANCODE_KP_8,   SDL_SCANCODE_KP_2,   SDL_SCANCODE_KP_6,   SDL_SCANCODE_KP_4,  SDL_SCANCODE_BACKSPACE,
    SDL_SCANCODE_INSERT, SDL_SCANCODE_HOME,   SDL_SCANCODE_PAGEUP, SDL_SCANCODE_T,     SDL_SCANCODE_V,
    SDL_SCANCODE_H,      SDL_SCANCODE_F,      SDL_SCANCODE_1,      SDL_SCANCODE_2,     SDL_SCANCODE_3,
    SDL_SCANCODE_4,
};
static_assert(static_cast<int>(Key::Count) <= 64, "the key snapshot is one 64-bit mask");

constexpr std::uint64_t kPresent = std::uint64_t{1} << 63;

std::uint64_t pack(std::uint32_t x, std::uint32_t y, std::uint32_t buttons) {
    return kPresent | x | (std::uint64_t{y} << 16) | (std::uint64_t{buttons & 0xF} << 32);
}

// SDL axes run -32768..32767; the game reads 0..65535 with the centre at 32768.
std::uint32_t axisToPos(Sint16 value) { return static_cast<std::uint32_t>(value + 32768); }

}  // namespace

SDL_Scancode scancodeOf(Key key) {
    const auto i = static_cast<std::size_t>(key);
    return i < kScancodes.size() ? kScancodes[i] : SDL_SCANCODE_UNKNOWN;
}

Key keyOf(SDL_Scancode code) {
    const auto it = std::find(kScancodes.begin(), kScancodes.end(), code);
    return it == kScancodes.end() ? Key::Count : static_cast<Key>(it - kScancodes.begin());
}

SdlInput::SdlInput() {
    for (int i = 0, n = SDL_NumJoysticks(); i < n; ++i) open(i);
    refresh();
}

SdlInput::~SdlInput() {
    for (auto& slot : slots_) {
        if (slot.controller) SDL_GameControllerClose(slot.controller);
        else if (slot.joystick) SDL_JoystickClose(slot.joystick);
        slot = Slot{};
    }
}

bool SdlInput::keyDown(Key key) const {
    const auto i = static_cast<unsigned>(key);
    if (i >= static_cast<unsigned>(Key::Count)) return false;
    return (keys_.load(std::memory_order_relaxed) >> i) & 1u;
}

int SdlInput::joystickCount() {
    int n = 0;
    for (const auto& s : snapshot_) n += (s.load(std::memory_order_relaxed) & kPresent) ? 1 : 0;
    return n;
}

bool SdlInput::joystickPos(int index, JoyPos& pos) {
    if (index < 0 || index >= kMaxJoysticks) return false;
    const std::uint64_t v = snapshot_[static_cast<std::size_t>(index)].load(std::memory_order_relaxed);
    if (!(v & kPresent)) return false;
    pos.x = static_cast<std::uint32_t>(v & 0xFFFF);
    pos.y = static_cast<std::uint32_t>((v >> 16) & 0xFFFF);
    pos.buttons = static_cast<std::uint32_t>((v >> 32) & 0xF);
    return true;
}

void SdlInput::open(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0) return;
    for (const auto& s : slots_)
        if (s.joystick && s.id == id) return;   // already open (the start-up list repeats as events)
    auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return !s.joystick; });
    if (free == slots_.end()) return;
    Slot slot;
    if (SDL_IsGameController(deviceIndex)) {
        slot.controller = SDL_GameControllerOpen(deviceIndex);
        if (slot.controller) slot.joystick = SDL_GameControllerGetJoystick(slot.controller);
    }
    if (!slot.joystick) slot.joystick = SDL_JoystickOpen(deviceIndex);
    if (!slot.joystick) return;
    slot.id = SDL_JoystickInstanceID(slot.joystick);
    *free = slot;
}

void SdlInput::close(SDL_JoystickID id) {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (!slot.joystick || slot.id != id) continue;
        if (slot.controller) SDL_GameControllerClose(slot.controller);
        else SDL_JoystickClose(slot.joystick);
        slot = Slot{};
        snapshot_[i].store(0, std::memory_order_relaxed);
    }
}

void SdlInput::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED: open(event.jdevice.which); break;
    case SDL_JOYDEVICEREMOVED: close(event.jdevice.which); break;
    default: break;
    }
}

std::uint64_t SdlInput::sample(const Slot& slot) {
    std::uint32_t x = 32768, y = 32768, buttons = 0;
    bool left = false, right = false, up = false, down = false;
    if (slot.controller) {
        SDL_GameController* c = slot.controller;
        x = axisToPos(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
        y = axisToPos(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
        constexpr std::array<SDL_GameControllerButton, 4> kButtons{
            SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
        for (std::size_t b = 0; b < kButtons.size(); ++b)
            if (SDL_GameControllerGetButton(c, kButtons[b])) buttons |= 1u << b;
        left = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        right = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        up = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP);
        down = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    } else {
        SDL_Joystick* j = slot.joystick;
        const int axes = SDL_JoystickNumAxes(j);
        if (axes > 0) x = axisToPos(SDL_JoystickGetAxis(j, 0));
        if (axes > 1) y = axisToPos(SDL_JoystickGetAxis(j, 1));
        const int count = std::min(SDL_JoystickNumButtons(j), 4);
        for (int b = 0; b < count; ++b)
            if (SDL_JoystickGetButton(j, b)) buttons |= 1u << b;
        if (SDL_JoystickNumHats(j) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(j, 0);
            left = hat & SDL_HAT_LEFT;
            right = hat & SDL_HAT_RIGHT;
            up = hat & SDL_HAT_UP;
            down = hat & SDL_HAT_DOWN;
        }
    }
    // A pad's direction buttons count as the stick pushed to its end.
    if (left) x = 0;
    if (right) x = 65535;
    if (up) y = 0;
    if (down) y = 65535;
    return pack(x, y, buttons);
}

void SdlInput::refresh() {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::uint64_t keys = 0;
    if (state) {
        for (std::size_t i = 0; i < kScancodes.size(); ++i)
            if (kScancodes[i] < count && state[kScancodes[i]]) keys |= std::uint64_t{1} << i;
    }
    keys_.store(keys, std::memory_order_relaxed);
    for (std::size_t i = 0; i < slots_.size(); ++i)
        snapshot_[i].store(slots_[i].joystick ? sample(slots_[i]) : 0, std::memory_order_relaxed);
}

void SdlInput::clearKeys() { keys_.store(0, std::memory_order_relaxed); }

}  // namespace plat
