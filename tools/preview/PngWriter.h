#pragma once

#include "draw/ISurface.h"

#include <string>

namespace tpm
{

// Writes a surface as an 8-bit RGB PNG file (the editor surface is opaque); answers success.
bool WritePng(const ISurface& surface, const std::string& path);

} // namespace tpm
