#pragma once
// PENDING: the engine's bank, bitmap, fill, fade and pattern operations as the game window
// calls them, until the engine component carries them itself. Fills and fades work on the
// engine's surfaces and palette; the bank and bitmap loads and the pattern drawing do
// nothing yet. Each becomes a call of the TSpriteEx operation of the same name.

#include <cstdint>
#include <string>

#include "engine/sprite_ex.h"

namespace tz {

void FillSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Dest, const engine::TRect& R, std::int32_t Color);
void FadeToWhite(engine::TSpriteEx& sprite, std::int32_t Level);
void FadeToBlack(engine::TSpriteEx& sprite, std::int32_t Level);
void ReleaseBanks(engine::TSpriteEx& sprite);
void RealizeBank(engine::TSpriteEx& sprite, std::uint8_t Index);
void ReleaseBank(engine::TSpriteEx& sprite, std::uint8_t Index);
std::uint32_t SetColorKeyFromCorner(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface);
void MakeAddTable(engine::TSpriteEx& sprite, const std::string& Name, std::int32_t RateA, std::int32_t RateB);
void BltBmpToSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface, std::int32_t X, std::int32_t Y,
                     std::int32_t Width, std::int32_t Height, const plat::Bitmap8& Bitmap, std::int32_t SrcX,
                     std::int32_t SrcY);
std::int32_t LoadBmpToSurface(engine::TSpriteEx& sprite, engine::SurfacePtr& Surface, const std::string& FileName);
// Copies R of Src to Dest at (X, Y) without colour key.
void BltFast(engine::TSpriteEx& sprite, engine::SurfacePtr& Dest, std::int32_t X, std::int32_t Y,
             engine::SurfacePtr& Src, const engine::TRect& R);
void DrawPattern(engine::TSpriteEx& sprite, std::int32_t X, std::int32_t Y, std::int32_t Pattern);

}  // namespace tz
