// A FormWindow on SDL: one SDL window with its own renderer, one Dear ImGui context drawing
// the controls at the window's scale. Every size is form units times the scale, and the fonts
// are rasterised at their final pixel size, so the window is crisp at 1:1. Keyboard handling
// is the caller's (the keys come back as FormInput); ImGui's own keyboard navigation is off,
// the mouse goes through ImGui's SDL backend.

#include "platform/imgui_form_window.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cmath>

#include "diagnostics/memcheck.h"
#include "platform/dialog_fonts.h"
#include "platform/imgui_session.h"

namespace plat {

double dialogScale(int screenWidth, int screenHeight, int width) {
    double scale = std::floor(screenHeight / 480.0 * 2.0) / 2.0;
    while (scale > 1.0 && width * scale > screenWidth * 0.9) scale -= 0.5;
    return std::clamp(scale, 1.0, 4.0);
}

namespace {

constexpr float kTextUnits = 12.0f;   // font size in form units
constexpr Uint32 kBusyMs = 500;       // after an input, frames run at the full rate this long
constexpr Uint32 kIdleWaitMs = 100;   // otherwise a frame waits this long for an event

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};

bool keyOf(SDL_Keycode code, FormKey& key) {
    switch (code) {
    case SDLK_TAB: key = FormKey::Tab; return true;
    case SDLK_SPACE: key = FormKey::Space; return true;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: key = FormKey::Enter; return true;
    case SDLK_ESCAPE: key = FormKey::Escape; return true;
    case SDLK_UP: key = FormKey::Up; return true;
    case SDLK_DOWN: key = FormKey::Down; return true;
    case SDLK_PAGEUP: key = FormKey::PageUp; return true;
    case SDLK_PAGEDOWN: key = FormKey::PageDown; return true;
    case SDLK_HOME: key = FormKey::Home; return true;
    case SDLK_END: key = FormKey::End; return true;
    default: return false;
    }
}

class ImGuiFormWindow final : public FormWindow {
public:
    ImGuiFormWindow() : fonts_(findDialogFonts()) {}
    ~ImGuiFormWindow() override { release(); }
    ImGuiFormWindow(const ImGuiFormWindow&) = delete;
    ImGuiFormWindow& operator=(const ImGuiFormWindow&) = delete;

    bool japanese() const override { return fonts_.japanese; }
    double scale() const override { return scale_; }
    std::string errorText() const override { return error_; }

    bool open(std::string_view caption, int width, int height, const std::vector<FormControl>& controls) override {
        const memcheck::ForeignScope driverCalls;  // window-system and driver blocks are not ours
        if (!videoInit_) {
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("SDL_InitSubSystem(VIDEO)");
            videoInit_ = true;
        }
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) scale_ = dialogScale(mode.w, mode.h, width);
        const std::string title(caption);
        // A dialog to the window manager: placed on its own, never maximised. The hint stays
        // until the renderer exists (an OpenGL renderer creates the X window again); the game
        // window is a normal one.
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
        window_.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, px(width),
                                       px(height), SDL_WINDOW_SHOWN));
        if (window_) {
            renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_PRESENTVSYNC));
            if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
        }
        SDL_ResetHint(SDL_HINT_X11_WINDOW_TYPE);
        if (!window_) return fail("SDL_CreateWindow");
        if (!renderer_) return fail("SDL_CreateRenderer");
        session_ = std::make_unique<ImGuiSession>(window_.get(), renderer_.get());
        if (!session_->ok()) return fail("ImGui SDL backends");
        applyDialogStyle(static_cast<float>(scale_));
        loadFonts(caption, controls);
        lastInput_ = SDL_GetTicks();
        return true;
    }

    void frame(const std::vector<FormControl>& controls, std::vector<FormInput>& inputs) override {
        if (!session_) return;
        const memcheck::ForeignScope driverCalls;
        pollEvents(inputs);
        if (!session_) return;
        ImGui_ImplSDLRenderer_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        drawControls(controls, inputs);
        ImGui::Render();
        SDL_SetRenderDrawColor(renderer_.get(), 240, 240, 240, 255);
        SDL_RenderClear(renderer_.get());
        ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
        SDL_RenderPresent(renderer_.get());
        if (!inputs.empty()) lastInput_ = SDL_GetTicks();
        pace();
    }

    void hide() override {
        const memcheck::ForeignScope driverCalls;
        session_.reset();
        renderer_.reset();
        if (window_) SDL_HideWindow(window_.get());
    }

private:
    int px(int units) const { return static_cast<int>(std::lround(units * scale_)); }
    float pxf(int units) const { return static_cast<float>(px(units)); }

    bool fail(const char* what) {
        error_ = std::string(what) + ": " + SDL_GetError();
        release();
        return false;
    }

    void release() {
        const memcheck::ForeignScope driverCalls;
        session_.reset();
        renderer_.reset();
        window_.reset();
        if (videoInit_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoInit_ = false;
    }

    // Glyphs for exactly the texts shown (and Latin), so the atlas stays small.
    void loadFonts(std::string_view caption, const std::vector<FormControl>& controls) {
        ImGuiIO& io = ImGui::GetIO();
        ImFontGlyphRangesBuilder builder;
        builder.AddRanges(io.Fonts->GetGlyphRangesDefault());
        const std::string title(caption);
        builder.AddText(title.c_str());
        for (const FormControl& c : controls) {
            builder.AddText(c.caption.c_str());
            for (const std::string& item : c.items) builder.AddText(item.c_str());
        }
        ranges_.clear();
        builder.BuildRanges(&ranges_);
        ImFontConfig config;
        config.OversampleH = 1;
        config.OversampleV = 1;
        config.PixelSnapH = true;
        const float size = std::round(kTextUnits * static_cast<float>(scale_));
        textFont_ = fonts_.text.empty() ? nullptr
                                        : io.Fonts->AddFontFromFileTTF(fonts_.text.c_str(), size, &config, ranges_.Data);
        if (textFont_ == nullptr) {
            ImFontConfig builtIn;
            builtIn.SizePixels = size;
            textFont_ = io.Fonts->AddFontDefault(&builtIn);
        }
        fixedFont_ = fonts_.fixed.empty() ? nullptr
                                          : io.Fonts->AddFontFromFileTTF(fonts_.fixed.c_str(), size, &config, ranges_.Data);
        if (fixedFont_ == nullptr) fixedFont_ = textFont_;
        io.FontDefault = textFont_;
    }

    void pollEvents(std::vector<FormInput>& inputs) {
        const Uint32 id = SDL_GetWindowID(window_.get());
        SDL_Event e;
        // While nothing happens the window waits for an event instead of drawing 60 frames.
        const bool busy = SDL_GetTicks() - lastInput_ < kBusyMs;
        bool have = busy ? SDL_PollEvent(&e) != 0 : SDL_WaitEventTimeout(&e, static_cast<int>(kIdleWaitMs)) != 0;
        for (; have; have = SDL_PollEvent(&e) != 0) {
            switch (e.type) {
            case SDL_QUIT: inputs.push_back({FormInput::Type::Close}); continue;
            case SDL_WINDOWEVENT:
                if (e.window.windowID != id) continue;
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                    inputs.push_back({FormInput::Type::Close});
                    continue;
                }
                break;
            case SDL_KEYDOWN: {
                if (e.key.windowID != id) continue;
                FormKey key{};
                if (keyOf(e.key.keysym.sym, key)) {
                    FormInput in{FormInput::Type::Key};
                    in.key = key;
                    in.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
                    inputs.push_back(in);
                }
                break;
            }
            default: break;
            }
            ImGui_ImplSDL2_ProcessEvent(&e);
        }
    }

    void pace() {
        // Virtual displays do not wait for the vertical blank: keep to about 60 frames.
        const Uint32 now = SDL_GetTicks();
        const Uint32 spent = now - lastFrame_;
        if (spent < 16) SDL_Delay(16 - spent);
        lastFrame_ = SDL_GetTicks();
    }

    void drawControls(const std::vector<FormControl>& controls, std::vector<FormInput>& inputs) {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_.get(), &w, &h);
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(ImVec2(static_cast<float>(w), static_cast<float>(h)));
        constexpr ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                           ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoNav |
                                           ImGuiWindowFlags_NoBringToFrontOnFocus;
        ImGui::Begin("##form", nullptr, flags);
        if (listShown_.size() != controls.size()) listShown_.assign(controls.size(), -2);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const FormControl& c = controls[i];
            if (!c.visible) continue;
            ImGui::PushID(static_cast<int>(i));
            ImGui::BeginDisabled(!c.enabled);
            drawControl(static_cast<int>(i), c, inputs);
            ImGui::EndDisabled();
            if (c.focused) drawFocus(c.rect);
            ImGui::PopID();
        }
        ImGui::End();
    }

    ImVec2 at(int x, int y) const {
        const ImVec2 origin = ImGui::GetWindowPos();
        return ImVec2(origin.x + pxf(x), origin.y + pxf(y));
    }

    // The focus mark: a dashed frame just outside the control, as desktop dialogs draw it.
    void drawFocus(const FormRect& r) {
        ImDrawList* draw = ImGui::GetWindowDrawList();
        const float s = static_cast<float>(scale_);
        const ImVec2 a(at(r.x, r.y).x - 2 * s, at(r.x, r.y).y - 2 * s);
        const ImVec2 b(at(r.x + r.w, r.y + r.h).x + 2 * s, at(r.x + r.w, r.y + r.h).y + 2 * s);
        const float dash = 2 * s, thick = std::max(1.0f, std::floor(s));
        const ImU32 colour = IM_COL32(40, 40, 40, 255);
        for (float x = a.x; x < b.x; x += 2 * dash) {
            const float e = std::min(x + dash, b.x);
            draw->AddRectFilled(ImVec2(x, a.y), ImVec2(e, a.y + thick), colour);
            draw->AddRectFilled(ImVec2(x, b.y - thick), ImVec2(e, b.y), colour);
        }
        for (float y = a.y; y < b.y; y += 2 * dash) {
            const float e = std::min(y + dash, b.y);
            draw->AddRectFilled(ImVec2(a.x, y), ImVec2(a.x + thick, e), colour);
            draw->AddRectFilled(ImVec2(b.x - thick, y), ImVec2(b.x, e), colour);
        }
    }

    void drawControl(int index, const FormControl& c, std::vector<FormInput>& inputs) {
        ImGui::SetCursorPos(ImVec2(pxf(c.rect.x), pxf(c.rect.y)));
        switch (c.kind) {
        case ControlKind::Frame: {
            // Sunken: dark on the top and left, light on the bottom and right.
            ImDrawList* draw = ImGui::GetWindowDrawList();
            const ImVec2 a = at(c.rect.x, c.rect.y), b = at(c.rect.x + c.rect.w, c.rect.y + c.rect.h);
            const float t = static_cast<float>(std::max(1.0, std::floor(scale_)));
            draw->AddRectFilled(a, ImVec2(b.x, a.y + t), IM_COL32(160, 160, 160, 255));
            draw->AddRectFilled(a, ImVec2(a.x + t, b.y), IM_COL32(160, 160, 160, 255));
            draw->AddRectFilled(ImVec2(a.x, b.y - t), b, IM_COL32(255, 255, 255, 255));
            draw->AddRectFilled(ImVec2(b.x - t, a.y), b, IM_COL32(255, 255, 255, 255));
            break;
        }
        case ControlKind::CheckBox: {
            bool ticked = c.checked;
            if (ImGui::Checkbox(c.caption.c_str(), &ticked)) inputs.push_back({FormInput::Type::Click, index});
            break;
        }
        case ControlKind::Label: ImGui::TextUnformatted(c.caption.c_str()); break;
        case ControlKind::Button: {
            const float border = static_cast<float>(scale_) * (c.isDefault ? 2.0f : 1.0f);
            ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, border);
            if (c.isDefault) ImGui::PushStyleColor(ImGuiCol_Border, ImVec4(0.0f, 0.47f, 0.84f, 1.0f));
            if (ImGui::Button(c.caption.c_str(), ImVec2(pxf(c.rect.w), pxf(c.rect.h))))
                inputs.push_back({FormInput::Type::Click, index});
            if (c.isDefault) ImGui::PopStyleColor();
            ImGui::PopStyleVar();
            break;
        }
        case ControlKind::ComboBox: {
            ImGui::SetNextItemWidth(pxf(c.rect.w));
            const bool valid = c.itemIndex >= 0 && c.itemIndex < static_cast<int>(c.items.size());
            if (ImGui::BeginCombo("##combo", valid ? c.items[static_cast<std::size_t>(c.itemIndex)].c_str() : "")) {
                for (std::size_t k = 0; k < c.items.size(); ++k) {
                    if (ImGui::Selectable(c.items[k].c_str(), static_cast<int>(k) == c.itemIndex)) {
                        FormInput in{FormInput::Type::Choose, index};
                        in.item = static_cast<int>(k);
                        inputs.push_back(in);
                    }
                }
                ImGui::EndCombo();
            }
            break;
        }
        case ControlKind::ListBox: drawList(index, c, inputs); break;
        }
    }

    void drawList(int index, const FormControl& c, std::vector<FormInput>& inputs) {
        ImGui::PushFont(fixedFont_);
        ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0, 0));
        ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(pxf(2), pxf(1)));
        ImGui::BeginChild("##list", ImVec2(pxf(c.rect.w), pxf(c.rect.h)), true);
        int& shown = listShown_[static_cast<std::size_t>(index)];
        for (std::size_t k = 0; k < c.items.size(); ++k) {
            const bool selected = static_cast<int>(k) == c.itemIndex;
            if (!c.enabled) {
                ImGui::TextUnformatted(c.items[k].c_str());
                continue;
            }
            if (ImGui::Selectable(c.items[k].c_str(), selected, 0, ImVec2(0, pxf(c.itemHeight)))) {
                FormInput in{FormInput::Type::Choose, index};
                in.item = static_cast<int>(k);
                inputs.push_back(in);
            }
            // A selection moved by the keyboard is scrolled into view.
            if (selected && shown != c.itemIndex) ImGui::SetScrollHereY(0.5f);
        }
        shown = c.itemIndex;
        ImGui::EndChild();
        ImGui::PopStyleVar(2);
        ImGui::PopFont();
    }

    DialogFonts fonts_;
    bool videoInit_ = false;
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
    std::unique_ptr<ImGuiSession> session_;
    ImVector<ImWchar> ranges_;   // must outlive the font atlas's build
    ImFont* textFont_ = nullptr;
    ImFont* fixedFont_ = nullptr;
    double scale_ = 1.0;
    std::string error_;
    std::vector<int> listShown_;  // per control: the list selection last drawn
    Uint32 lastInput_ = 0;
    Uint32 lastFrame_ = 0;
};

}  // namespace

std::unique_ptr<FormWindow> makeImGuiFormWindow() { return std::make_unique<ImGuiFormWindow>(); }

}  // namespace plat
