#pragma once

#include "draw/Font.h"
#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"

#include <string_view>

// <windows.h> maps this name to its A/W variants; keep ours intact in files that include both.
#ifdef DrawText
#undef DrawText
#endif

namespace tpm
{

// Flags of DrawText, combined with the alignment 0 left, 1 centre, 2 right.
constexpr int kTextAlignLeft = 0;
constexpr int kTextAlignCentre = 1;
constexpr int kTextAlignRight = 2;
constexpr int kTextAlignMask = 0xFF;
constexpr int kTextNoClip = 0x100;
constexpr int kTextUseAlpha = 0x40000000;

// Draws text in `colour` (0xAARRGGBB) into box. Without kTextUseAlpha, on a surface with a platform
// context, the platform draws it directly where it can; otherwise the text's coverage blends the colour
// in, scaled by the colour's alpha when kTextUseAlpha is given. Without kTextNoClip nothing lands
// outside box. Answers false only when the text could not be rendered.
bool DrawText(PixelSurface& dest, Font& font, uint32_t colour, std::string_view text, const PixelBox& box,
              int flags);

} // namespace tpm
