#pragma once
// The services the engine needs from the operating system. Nothing here includes SDL:
// the SDL implementation lives in sdl_platform.cpp, a null one (headless runs) in
// null_platform.cpp, and tests may derive their own (for instance to refuse a step).

#include <array>
#include <cstddef>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio_device.h"
#include "platform/form_window.h"

namespace plat {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};
using Palette = std::array<Rgb, 256>;

// An 8-bit frame handed to the presenter: pixels are palette indices.
struct FrameView {
    const std::uint8_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
};

// The display steps the engine runs while it initialises; each returns 0 on success or a
// non-zero platform code, which the engine reports as "Fail at <step> ( $<code> )".
enum class DisplayStep : std::uint8_t {
    CreateDevice,     // open the window and renderer
    SetLevel,         // full-screen desktop or normal window
    CreatePrimary,    // the streaming texture the frame is shown through
    CreatePalette,    // palette conversion table
    QueryMode,        // desktop bit depth (window mode)
};

enum class WindowEventType : std::uint8_t { None, CloseRequest, FocusLost, FocusGained, Exposed, KeyDown, PadButtonDown };

// Keys by position (layout independent): every key a player may bind (key_names.h names them).
enum class Key : std::uint8_t {
    Up, Down, Left, Right, Z, X, C, A, S, D, Q, W, E, Space, LShift, RShift, LCtrl, RCtrl,
    Return, Escape, LAlt, RAlt, F1, F2,
    // The game's two key layouts: numeric keypad and editing keys, and T/V/H/F with 1-4.
    Numpad8, Numpad2, Numpad6, Numpad4, Backspace, Insert, Home, PageUp,
    T, V, H, F, Num1, Num2, Num3, Num4,
    // The rest of the keyboard.
    B, G, I, J, K, L, M, N, O, P, R, U, Y,
    Num0, Num5, Num6, Num7, Num8, Num9,
    F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Tab, Delete, End, PageDown,
    Numpad0, Numpad1, Numpad3, Numpad5, Numpad7, Numpad9,
    NumpadEnter, NumpadPlus, NumpadMinus, NumpadMultiply, NumpadDivide, NumpadPeriod,
    Minus, Equals, LeftBracket, RightBracket, Semicolon, Apostrophe, Comma, Period, Slash, Backslash, Grave,
    Count
};
inline constexpr std::size_t KeyCount = static_cast<std::size_t>(Key::Count);

// The buttons of a game controller (in SDL's standard layout: A below, B right, X left, Y
// above; the shoulders; the triggers count as buttons once pulled half way).
enum class PadButton : std::uint8_t {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight, LeftTrigger, RightTrigger,
    Count
};

constexpr std::uint32_t padBit(PadButton b) { return std::uint32_t{1} << static_cast<unsigned>(b); }

struct WindowEvent {
    WindowEventType type = WindowEventType::None;
    Key key = Key::Count;   // for KeyDown
    bool alt = false;       // an Alt key was held (KeyDown)
    bool shift = false;     // a Shift key was held (KeyDown)
    PadButton button = PadButton::Count;   // for PadButtonDown
};

struct JoyPos {
    std::uint32_t x = 32768, y = 32768;  // 0..65535, centre 32768
    std::uint32_t buttons = 0;           // bit 0 = button 1 ... bit 3 = button 4
};

// A game controller now: the left stick (-32768..32767 each way, y grows downward) and the
// buttons held (padBit of each).
struct PadState {
    std::int16_t leftX = 0, leftY = 0;
    std::uint32_t buttons = 0;
    bool held(PadButton b) const { return (buttons & padBit(b)) != 0; }
};

// The moments of one present, on the steady clock (none: the epoch).
struct PresentTimes {
    std::chrono::steady_clock::time_point handOff{};   // the window system was given the frame
    std::chrono::steady_clock::time_point ready{};     // its upload had returned
    // The frame reached the screen: for a display that paces itself as one of a given rate
    // would, the refresh it was shown at; otherwise when the upload returned.
    std::chrono::steady_clock::time_point shown{};
    // The display's own work on the frame that has to be done before its refresh (the
    // conversion, and the upload where the frame is uploaded ahead of the refresh).
    std::chrono::microseconds beforeRefresh{};
};

class Display {
public:
    virtual ~Display() = default;
    virtual int runStep(DisplayStep step, int width, int height, bool fullScreen) = 0;
    virtual void release() = 0;                       // back to no window resources
    virtual void setFullScreen(bool on) = 0;
    virtual void setCaption(std::string_view text) = 0;
    virtual void setCursorVisible(bool visible) = 0;
    virtual void hide() = 0;
    virtual void raise() = 0;
    // Converts the frame through the palette, uploads it and shows it. Waits for the
    // vertical blank when the renderer can; returns false when it could not wait, so the
    // caller paces itself.
    // The SDL display paces itself where the renderer does not honour vsync (virtual
    // displays, the dummy and offscreen drivers): it then sleeps to the next frame period
    // before the upload and returns true. Given a rate to pace at (KORRINDAL_PACE_HZ) it acts
    // as a vsynced display of that rate: the frame is uploaded at once and shown at the
    // next refresh, and present returns then. It returns false when nothing was shown (no
    // window resources).
    virtual bool present(const FrameView& frame, const Palette& palette) = 0;
    virtual int refreshRate() const = 0;              // Hz of the display, 60 when unknown
    // When the display paces itself: the moment the next present will go out, so the caller
    // can draw just before it (the newest tick in the frame). None (the epoch) when the
    // renderer's vsync decides.
    virtual std::chrono::steady_clock::time_point nextRefresh() const { return {}; }
    // What the display knows of the last present's times (all none where it does not know).
    virtual PresentTimes lastPresent() const { return {}; }
    virtual bool pollEvent(WindowEvent& event) = 0;

    // The window's client area as it was last shown (letterbox bars included), as RGBA
    // bytes, 4 per pixel, rows top to bottom. False when there is nothing to read.
    virtual bool readback(std::vector<std::uint8_t>& rgba, int& width, int& height) {
        (void)rgba; (void)width; (void)height;
        return false;
    }
    // Text of the platform's last error (for instance after a failed runStep), or empty.
    virtual std::string errorText() const { return {}; }
};

class Timer {
public:
    virtual ~Timer() = default;
    // Calls tick() every periodMs on a thread of its own, on absolute deadlines.
    // Returns an id > 0, or 0 when refused.
    virtual int start(int periodMs, std::function<void()> tick) = 0;
    virtual bool stop() = 0;   // true once stopped (and no tick is running any more)
};

class Input {
public:
    virtual ~Input() = default;
    virtual bool keyDown(Key key) const = 0;
    // Joysticks without a game controller mapping, in the order they were connected.
    virtual int joystickCount() = 0;
    virtual bool joystickPos(int index, JoyPos& pos) = 0;   // false when not present
    // Game controllers (devices SDL knows the layout of), in the order they were connected.
    virtual int padCount() const { return 0; }
    virtual bool padState(int index, PadState& state) const {   // false when not present
        (void)index; (void)state;
        return false;
    }
    // Changes whenever a joystick or game controller is connected or disconnected.
    virtual std::uint32_t deviceChanges() const { return 0; }
};

// Warning: a failure that ends the game (warning icon, Abort button). Notice: a warning
// the program goes on after (warning icon, OK button). Information: information, OK.
enum class BoxKind : std::uint8_t { Warning, Notice, Information };

class Platform {
public:
    virtual ~Platform() = default;
    virtual Display& display() = 0;
    virtual Timer& timer() = 0;
    virtual Input& input() = 0;
    virtual void messageBox(BoxKind kind, std::string_view title, std::string_view text) = 0;
    virtual bool openWithDesktop(const std::string& path) = 0;
    virtual bool headless() const = 0;
    // A new dialog window (form_window.h), not yet open; nullptr when the platform shows no
    // windows.
    virtual std::unique_ptr<FormWindow> makeFormWindow() { return nullptr; }
    // The sound output, pulling from source; nullptr when the platform has none (the game
    // then runs silent).
    virtual std::unique_ptr<AudioDevice> openAudio(AudioSource& source) {
        (void)source;
        return nullptr;
    }
};

// The folder of the running program, with a trailing slash.
std::string programDir();

// Shows an information box without an owner window (usable at the very end of the program,
// when no window or platform object is left). Writes "<title>: <text>" to stderr instead when
// no box can be shown or KORRINDAL_NO_MESSAGE_BOXES is set.
void showInformationBoxNoOwner(const char* title, const char* text);

// What the null platform does for sound: nothing (no device at all), or an offline device
// that its owner pulls (rendering the game's sound into a file).
enum class NullAudio : std::uint8_t { None, Offline };

std::unique_ptr<Platform> makeSdlPlatform();
std::unique_ptr<Platform> makeNullPlatform(NullAudio audio = NullAudio::None);

}  // namespace plat
