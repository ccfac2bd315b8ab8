#pragma once
// The drawings of every bank and screen picture, and the shared looks they use.

#include "bank.h"
#include "canvas.h"
#include "text.h"

namespace art {

// Bank contents, one function per bank (the ranges are fixed by the game's pattern numbers).
void drawSystemBank(Bank& b);      // 0..84
void drawGameSpriteBank(Bank& b);  // 85..218
void drawStage1Bank(Bank& b);      // 219..222
void drawStage2Bank(Bank& b);      // 223..237
void drawStage3Bank(Bank& b);      // 238..243
void drawBossABank(Bank& b);       // 244
void drawBossBBank(Bank& b);       // 245..248
void drawTitleBank(Bank& b);       // 249..252
void drawEndingBank(Bank& b);      // 253..272

engine::bmp8::Image drawTitleBack();
engine::bmp8::Image drawPlayBackground();

// Shared pieces.
namespace look {
inline Rgbf c(Ramp r, float t) { return rampColour(r, t); }
// A caption in the display face with a vertical gradient, a dark outline and a small bevel.
Picture caption(const std::string& text, float px, Rgbf top, Rgbf bottom, float tracking = 1.0f,
                float outline = 1.6f, const Font& font = displayFont());
// The player ship at scale k (1 = the play sprite), banked by bank (-1 left .. 1 right),
// pitched by pitch (0 level .. 1 nose down), with engine flame strength flame.
void playerShip(Canvas& cv, float k, float bank, float pitch, float flame);
// Enemy bullets: a glowing ring with a white core (the brightest things on screen).
Picture bulletOrb(float r, Ramp ring, float phase = 0.0f);
}  // namespace look

}  // namespace art
