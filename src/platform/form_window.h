#pragma once
// A dialog window: the caller describes its controls (kind, place, text, state) on a grid of
// form units, and the window draws them at a scale that suits the screen and reports what the
// user did. The caller keeps every control's state; the window only shows it. No SDL here:
// the SDL implementation (Dear ImGui on SDL_Renderer) is in imgui_form_window.cpp.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class ControlKind : std::uint8_t {
    Frame,     // a sunken frame around other controls
    CheckBox,  // caption and a tick
    ComboBox,  // drop-down list: items, itemIndex
    Label,     // a line of text
    ListBox,   // lines of items, itemIndex selected (-1 none)
    Button,    // caption; isDefault draws it as the button Enter presses
};

struct FormRect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct FormControl {
    ControlKind kind = ControlKind::Label;
    FormRect rect;                    // in form units
    std::string caption;
    std::vector<std::string> items;   // combo box and list box
    int itemIndex = -1;
    int itemHeight = 15;              // list box: form units per line
    bool checked = false;
    bool visible = true;
    bool enabled = true;
    bool focused = false;             // drawn with the focus mark
    bool fixedPitch = false;          // text in the fixed-pitch font
    bool isDefault = false;
};

enum class FormKey : std::uint8_t { Tab, Space, Enter, Escape, Up, Down, PageUp, PageDown, Home, End };

struct FormInput {
    enum class Type : std::uint8_t {
        Click,   // a check box or button was clicked
        Choose,  // an item of a list box or combo box was clicked
        Key,     // a key the dialog handles was pressed
        Close,   // the window's close button
    };
    Type type = Type::Close;
    int control = -1;   // Click, Choose: index into the controls
    int item = -1;      // Choose
    FormKey key = FormKey::Escape;
    bool shift = false;  // Key: a Shift key was held
};

class FormWindow {
public:
    virtual ~FormWindow() = default;
    // Whether the window's fonts can show Japanese text (known from construction on).
    virtual bool japanese() const = 0;
    // Opens the window with the caption and a client area of width x height form units,
    // scaled for the screen. The controls' texts are all the glyphs the window prepares.
    // False when it cannot (errorText says why).
    virtual bool open(std::string_view caption, int width, int height, const std::vector<FormControl>& controls) = 0;
    // Draws the controls and appends what the user did since the last frame; waits for the
    // next frame (about 60 per second, less while nothing happens).
    virtual void frame(const std::vector<FormControl>& controls, std::vector<FormInput>& inputs) = 0;
    // Hides the window and releases its drawing resources; it is not shown again.
    virtual void hide() = 0;
    // Pixels per form unit (1 until opened).
    virtual double scale() const = 0;
    virtual std::string errorText() const = 0;
};

}  // namespace plat
