#pragma once

#include "draw/PixelSurface.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tpm
{

// Decodes PNG data into a new top-down 32-bit straight-alpha surface. Palette, grey, low-depth and
// 16-bit images are expanded to 8 bits per channel with an alpha channel. Data that is not a complete,
// sane PNG gives no surface.
std::unique_ptr<PixelSurface> DecodePng(const uint8_t* data, size_t size);

// The width and height in a PNG's header, without decoding anything; false when the data does not
// start as a PNG or names a size DecodePng would refuse.
bool ReadPngSize(const uint8_t* data, size_t size, int& width, int& height);

} // namespace tpm
