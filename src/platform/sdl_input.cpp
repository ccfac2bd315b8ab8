#include "platform/sdl_input.h"

#include <algorithm>

namespace plat {
namespace {

// Indexed by Key.
constexpr std::array<SDL_Scancode, KeyCount> kScancodes{
    SDL_SCANCODE_UP,     SDL_SCANCODE_DOWN,   SDL_SCANCODE_LEFT,   SDL_SCANCODE_RIGHT, SDL_SCANCODE_Z,
    SDL_SCANCODE_X,      SDL_SCANCODE_C,      SDL_SCANCODE_A,      SDL_SCANCODE_S,     SDL_SCANCODE_D,
    SDL_SCANCODE_Q,      SDL_SCANCODE_W,      SDL_SCANCODE_E,      SDL_SCANCODE_SPACE, SDL_SCANCODE_LSHIFT,
    SDL_SCANCODE_RSHIFT, SDL_SCANCODE_LCTRL,  SDL_SCANCODE_RCTRL,  SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE,
    SDL_SCANCODE_LALT,   SDL_SCANCODE_RALT,   SDL_SCANCODE_F1,     SDL_SCANCODE_F2,
    SDL_SCANCODE_KP_8,   SDL_SCANCODE_KP_2,   SDL_SCANCODE_KP_6,   SDL_SCANCODE_KP_4,  SDL_SCANCODE_BACKSPACE,
    SDL_SCANCODE_INSERT, SDL_SCANCODE_HOME,   SDL_SCANCODE_PAGEUP, SDL_SCANCODE_T,     SDL_SCANCODE_V,
    SDL_SCANCODE_H,      SDL_SCANCODE_F,      SDL_SCANCODE_1,      SDL_SCANCODE_2,     SDL_SCANCODE_3,
    SDL_SCANCODE_4,
    SDL_SCANCODE_B, SDL_SCANCODE_G, SDL_SCANCODE_I, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L, SDL_SCANCODE_M,
    SDL_SCANCODE_N, SDL_SCANCODE_O, SDL_SCANCODE_P, SDL_SCANCODE_R, SDL_SCANCODE_U, SDL_SCANCODE_Y,
    SDL_SCANCODE_0, SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9,
    SDL_SCANCODE_F3, SDL_SCANCODE_F4, SDL_SCANCODE_F5, SDL_SCANCODE_F6, SDL_SCANCODE_F7, SDL_SCANCODE_F8,
    SDL_SCANCODE_F9, SDL_SCANCODE_F10, SDL_SCANCODE_F11, SDL_SCANCODE_F12,
    SDL_SCANCODE_TAB, SDL_SCANCODE_DELETE, SDL_SCANCODE_END, SDL_SCANCODE_PAGEDOWN,
    SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_9,
    SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_MULTIPLY,
    SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_KP_PERIOD,
    SDL_SCANCODE_MINUS, SDL_SCANCODE_EQUALS, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET,
    SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_COMMA, SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH,
    SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_GRAVE,
};
static_assert(KeyCount <= 128, "the key snapshot is two 64-bit masks");

// SDL's controller buttons in PadButton order (the triggers are axes).
constexpr std::array<SDL_GameControllerButton, 15> kPadButtons{
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,           SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_BACK,        SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,   SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,  SDL_CONTROLLER_BUTTON_DPAD_LEFT,   SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};
constexpr Sint16 kTriggerHalf = 16384;

constexpr std::uint64_t kPresent = std::uint64_t{1} << 63;

std::uint64_t packJoystick(std::uint32_t x, std::uint32_t y, std::uint32_t buttons) {
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

PadButton padButtonOf(Uint8 sdlButton) {
    const auto it = std::find(kPadButtons.begin(), kPadButtons.end(), static_cast<SDL_GameControllerButton>(sdlButton));
    return it == kPadButtons.end() ? PadButton::Count : static_cast<PadButton>(it - kPadButtons.begin());
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
    if (i >= KeyCount) return false;
    return (keys_[i / 64].load(std::memory_order_relaxed) >> (i % 64)) & 1u;
}

int SdlInput::nth(int index, bool pads) const {
    if (index < 0) return -1;
    const auto& snaps = pads ? padSnap_ : joystickSnap_;
    std::array<bool, kMaxDevices> present{};
    for (std::size_t i = 0; i < present.size(); ++i) present[i] = (snaps[i].load(std::memory_order_acquire) & kPresent) != 0;
    // The present slot with exactly `index` present slots connected before it.
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (!present[i]) continue;
        const std::uint32_t mine = order_[i].load(std::memory_order_relaxed);
        int earlier = 0;
        for (std::size_t j = 0; j < present.size(); ++j)
            if (present[j] && order_[j].load(std::memory_order_relaxed) < mine) ++earlier;
        if (earlier == index) return static_cast<int>(i);
    }
    return -1;
}

int SdlInput::joystickCount() {
    int n = 0;
    for (const auto& s : joystickSnap_) n += (s.load(std::memory_order_relaxed) & kPresent) ? 1 : 0;
    return n;
}

bool SdlInput::joystickPos(int index, JoyPos& pos) {
    const int slot = nth(index, false);
    if (slot < 0) return false;
    const std::uint64_t v = joystickSnap_[static_cast<std::size_t>(slot)].load(std::memory_order_relaxed);
    if (!(v & kPresent)) return false;
    pos.x = static_cast<std::uint32_t>(v & 0xFFFF);
    pos.y = static_cast<std::uint32_t>((v >> 16) & 0xFFFF);
    pos.buttons = static_cast<std::uint32_t>((v >> 32) & 0xF);
    return true;
}

int SdlInput::padCount() const {
    int n = 0;
    for (const auto& s : padSnap_) n += (s.load(std::memory_order_relaxed) & kPresent) ? 1 : 0;
    return n;
}

bool SdlInput::padState(int index, PadState& state) const {
    const int slot = nth(index, true);
    if (slot < 0) return false;
    const std::uint64_t v = padSnap_[static_cast<std::size_t>(slot)].load(std::memory_order_relaxed);
    if (!(v & kPresent)) return false;
    state.leftX = static_cast<std::int16_t>(static_cast<int>(v & 0xFFFF) - 32768);
    state.leftY = static_cast<std::int16_t>(static_cast<int>((v >> 16) & 0xFFFF) - 32768);
    state.buttons = static_cast<std::uint32_t>((v >> 32) & 0x1FFFF);
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
    slot.order = ++opened_;
    *free = slot;
    const auto i = static_cast<std::size_t>(free - slots_.begin());
    order_[i].store(slot.order, std::memory_order_relaxed);
    if (slot.controller) padSnap_[i].store(samplePad(slot.controller), std::memory_order_release);
    else joystickSnap_[i].store(sampleJoystick(slot.joystick), std::memory_order_release);
    changes_.fetch_add(1, std::memory_order_acq_rel);
}

void SdlInput::close(SDL_JoystickID id) {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (!slot.joystick || slot.id != id) continue;
        if (slot.controller) SDL_GameControllerClose(slot.controller);
        else SDL_JoystickClose(slot.joystick);
        slot = Slot{};
        joystickSnap_[i].store(0, std::memory_order_release);
        padSnap_[i].store(0, std::memory_order_release);
        changes_.fetch_add(1, std::memory_order_acq_rel);
    }
}

void SdlInput::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED: open(event.jdevice.which); break;
    case SDL_JOYDEVICEREMOVED: close(event.jdevice.which); break;
    default: break;
    }
}

std::uint64_t SdlInput::sampleJoystick(SDL_Joystick* j) {
    std::uint32_t x = 32768, y = 32768, buttons = 0;
    const int axes = SDL_JoystickNumAxes(j);
    if (axes > 0) x = axisToPos(SDL_JoystickGetAxis(j, 0));
    if (axes > 1) y = axisToPos(SDL_JoystickGetAxis(j, 1));
    const int count = std::min(SDL_JoystickNumButtons(j), 4);
    for (int b = 0; b < count; ++b)
        if (SDL_JoystickGetButton(j, b)) buttons |= 1u << b;
    if (SDL_JoystickNumHats(j) > 0) {
        // A hat counts as the stick pushed to its end.
        const Uint8 hat = SDL_JoystickGetHat(j, 0);
        if (hat & SDL_HAT_LEFT) x = 0;
        if (hat & SDL_HAT_RIGHT) x = 65535;
        if (hat & SDL_HAT_UP) y = 0;
        if (hat & SDL_HAT_DOWN) y = 65535;
    }
    return packJoystick(x, y, buttons);
}

std::uint64_t SdlInput::samplePad(SDL_GameController* c) {
    std::uint64_t buttons = 0;
    for (std::size_t b = 0; b < kPadButtons.size(); ++b)
        if (SDL_GameControllerGetButton(c, kPadButtons[b])) buttons |= std::uint64_t{1} << b;
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) >= kTriggerHalf)
        buttons |= padBit(PadButton::LeftTrigger);
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerHalf)
        buttons |= padBit(PadButton::RightTrigger);
    const std::uint64_t x = axisToPos(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    const std::uint64_t y = axisToPos(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    return kPresent | x | (y << 16) | (buttons << 32);
}

void SdlInput::refresh() {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::array<std::uint64_t, 2> keys{};
    if (state) {
        for (std::size_t i = 0; i < kScancodes.size(); ++i)
            if (kScancodes[i] < count && state[kScancodes[i]]) keys[i / 64] |= std::uint64_t{1} << (i % 64);
    }
    for (std::size_t w = 0; w < keys.size(); ++w) keys_[w].store(keys[w], std::memory_order_relaxed);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const Slot& s = slots_[i];
        joystickSnap_[i].store(s.joystick && !s.controller ? sampleJoystick(s.joystick) : 0, std::memory_order_relaxed);
        padSnap_[i].store(s.controller ? samplePad(s.controller) : 0, std::memory_order_relaxed);
    }
}

void SdlInput::clearKeys() {
    for (auto& k : keys_) k.store(0, std::memory_order_relaxed);
}

}  // namespace plat
