#include "draw/SystemSurface.h"

namespace tpm
{

std::unique_ptr<ISurface> CreateSystemSurface(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    return std::make_unique<ISurface>(width, height);
}

} // namespace tpm
