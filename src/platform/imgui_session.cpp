#include "platform/imgui_session.h"

#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

namespace plat {

ImGuiSession::ImGuiSession(SDL_Window* window, SDL_Renderer* renderer) {
    IMGUI_CHECKVERSION();
    context_ = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;   // no layout file is written beside the program
    io.LogFilename = nullptr;
    platformUp_ = ImGui_ImplSDL2_InitForSDLRenderer(window);
    rendererUp_ = platformUp_ && ImGui_ImplSDLRenderer_Init(renderer);
}

ImGuiSession::~ImGuiSession() {
    ImGui::SetCurrentContext(context_);
    if (rendererUp_) ImGui_ImplSDLRenderer_Shutdown();
    if (platformUp_) ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(context_);
}

void applyDialogStyle(float scale) {
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0;
    style.FrameRounding = 2;
    style.WindowBorderSize = 0;
    style.FrameBorderSize = 1;
    style.ChildBorderSize = 1;
    style.PopupBorderSize = 1;
    style.FramePadding = ImVec2(4, 2);
    style.ItemInnerSpacing = ImVec2(4, 4);
    style.WindowPadding = ImVec2(0, 0);
    style.ScrollbarSize = 12;
    style.DisabledAlpha = 0.45f;
    ImVec4* c = style.Colors;
    c[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
    c[ImGuiCol_ChildBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    c[ImGuiCol_Border] = ImVec4(0.55f, 0.55f, 0.55f, 1.0f);
    c[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    c[ImGuiCol_Button] = ImVec4(0.88f, 0.88f, 0.88f, 1.0f);
    c[ImGuiCol_ButtonHovered] = ImVec4(0.80f, 0.88f, 0.97f, 1.0f);
    c[ImGuiCol_ButtonActive] = ImVec4(0.70f, 0.81f, 0.95f, 1.0f);
    c[ImGuiCol_Header] = ImVec4(0.00f, 0.47f, 0.84f, 1.0f);         // the selected line
    c[ImGuiCol_HeaderHovered] = ImVec4(0.80f, 0.88f, 0.97f, 1.0f);
    c[ImGuiCol_HeaderActive] = ImVec4(0.00f, 0.40f, 0.75f, 1.0f);
    c[ImGuiCol_CheckMark] = ImVec4(0.10f, 0.10f, 0.10f, 1.0f);
    style.ScaleAllSizes(scale);
}

}  // namespace plat
