#include "draw/SystemSurface.h"

namespace tpm
{

std::unique_ptr<PixelSurface> CreateSystemSurface(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    return std::make_unique<PixelSurface>(width, height);
}

} // namespace tpm
