#pragma once
// One Dear ImGui context with its SDL and SDL_Renderer backends, made for one window and
// taken down with it, and the look of the dialog windows drawn with it.

#include <SDL.h>
#include <imgui.h>

namespace plat {

class ImGuiSession {
public:
    // Creates the context (it becomes the current one) and starts both backends; ok() says
    // whether they started. No layout file is written.
    ImGuiSession(SDL_Window* window, SDL_Renderer* renderer);
    ~ImGuiSession();
    ImGuiSession(const ImGuiSession&) = delete;
    ImGuiSession& operator=(const ImGuiSession&) = delete;
    bool ok() const { return rendererUp_; }

private:
    ImGuiContext* context_ = nullptr;
    bool platformUp_ = false;
    bool rendererUp_ = false;
};

// A light face like a desktop dialog's, every size multiplied by scale.
void applyDialogStyle(float scale);

}  // namespace plat
