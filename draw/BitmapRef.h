#pragma once

#include "draw/CachedBitmap.h"

namespace tpm
{

// A bitmap as controls see it: a picture owned by the process-wide cache, its whole size and how many
// frames are stacked in it. A missing picture has no surface and draws nothing.
struct BitmapRef
{
    CachedBitmap* picture = nullptr;
    int W = 0;
    int H = 0;
    int N = 1;

    // The pixels, decoded on first use.
    PixelSurface* Surface() const { return picture ? picture->Surface() : nullptr; }
    // The pixels at a scale of the editor (see CachedBitmap::SurfaceAt).
    std::shared_ptr<const PixelSurface> SurfaceAt(double scale) const
    {
        return picture ? picture->SurfaceAt(scale) : nullptr;
    }
};

} // namespace tpm
