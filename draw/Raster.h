#pragma once

#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"

#include <cstdint>

namespace tpm
{

// Mode word of the transfers: the low byte picks the combine rule, the flags refine it.
constexpr int kBlendCopy = 0;
constexpr int kBlendAdd = 1;
constexpr int kBlendDodge = 2;
constexpr int kBlendRuleMask = 0xFF;
constexpr int kBlendFilter = 0x100;     // bilinear sampling, rotated transfer only
constexpr int kBlendUseAlpha = 0x10000; // the source alpha takes part in the rule

// Copies srcBox (clipped to src) to (dstX, dstY) in dest (clipped to dest), combining by mode at weight.
void Blit(PixelSurface& dest, const PixelSurface& src, int dstX, int dstY, const PixelBox& srcBox,
          float weight, int mode);

// Fills the destination box dstX/dstY/dstW/dstH from the source box srcX/srcY/srcW/srcH turned by angle
// radians (clockwise on screen) about the box centres, moved by (rotCenterX, rotCenterY) source pixels.
// Without clipToSource the samples may come from anywhere in src.
void RotatedBlit(PixelSurface& dest, const PixelSurface& src, int dstX, int dstY, int dstW, int dstH,
                 double srcX, double srcY, double srcW, double srcH, double angle, bool clipToSource,
                 float weight, int mode, double rotCenterX = 0.0, double rotCenterY = 0.0);

// Fills a box with a packed colour, combining by mode at weight.
void FillRect(PixelSurface& dest, int x, int y, int w, int h, uint32_t colour, float weight, int mode);

} // namespace tpm
