#include "draw/ICachedBitmap.h"

#include "draw/PngDecoder.h"
#include "draw/ResourceStore.h"

#include <atomic>

namespace tpm
{

namespace
{
std::atomic<int> decodeCount{0};
} // namespace

std::unique_ptr<ICachedBitmap> ICachedBitmap::Open(int id)
{
    const auto bytes = FindPngResource(id);
    int width = 0;
    int height = 0;
    if (!ReadPngSize(bytes.data(), bytes.size(), width, height))
        return nullptr;
    return std::unique_ptr<ICachedBitmap>(new ICachedBitmap(id, width, height));
}

ISurface* ICachedBitmap::Surface()
{
    std::call_once(decodeOnce_, [this] {
        const auto bytes = FindPngResource(id_);
        auto decoded = DecodePng(bytes.data(), bytes.size());
        // The header promised this size, and controls were laid out by it.
        if (decoded && decoded->Width() == width_ && decoded->Height() == height_)
            surface_ = std::move(decoded);
        decodeCount.fetch_add(1, std::memory_order_relaxed);
    });
    return surface_.get();
}

int ICachedBitmap::DecodeCount()
{
    return decodeCount.load(std::memory_order_relaxed);
}

} // namespace tpm
