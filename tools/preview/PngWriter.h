#pragma once

#include "draw/PixelSurface.h"

#include <string>

namespace tpm
{

// Writes a surface as an 8-bit RGB PNG file (the editor surface is opaque); answers success.
bool WritePng(const PixelSurface& surface, const std::string& path);

} // namespace tpm
