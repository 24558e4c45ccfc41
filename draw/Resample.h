#pragma once

#include "draw/PixelSurface.h"

#include <memory>

namespace tpm
{

// The picture resized to width x height by an area (box) filter: each destination pixel is the
// coverage-weighted mean of the source pixels under it, averaged premultiplied so that transparent
// neighbours do not darken edges. Meant for shrinking a larger picture set to an in-between scale.
std::unique_ptr<PixelSurface> BoxResample(const PixelSurface& src, int width, int height);

} // namespace tpm
