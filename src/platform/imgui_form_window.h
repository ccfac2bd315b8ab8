#pragma once
// The SDL dialog window: Dear ImGui drawing a FormWindow's controls on SDL_Renderer.

#include <memory>

#include "platform/form_window.h"

namespace plat {

std::unique_ptr<FormWindow> makeImGuiFormWindow();

// The pixels per form unit for a dialog on a screen this large: the largest half step from 1
// to 4 at which a 640x480 picture fits the screen's height, kept so that width form units
// fit nine tenths of the screen's width.
double dialogScale(int screenWidth, int screenHeight, int width);

}  // namespace plat
