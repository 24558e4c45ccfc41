#pragma once

#include "draw/PixelSurface.h"

#include <memory>

namespace tpm
{

// The editor's drawing surface: pixels the library draws into that the platform can also draw into and
// copy to a window. On Windows it is a bottom-up DIB section selected into a memory device context
// (NativeContext() answers the HDC); elsewhere a plain memory surface. Null when it cannot be made.
std::unique_ptr<PixelSurface> CreateSystemSurface(int width, int height);

} // namespace tpm
