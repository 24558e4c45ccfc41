#include "draw/CachedBitmap.h"

#include "draw/BitmapCache.h"
#include "draw/PngDecoder.h"
#include "draw/Resample.h"
#include "draw/ResourceStore.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace tpm
{

namespace
{
std::atomic<int> decodeCount{0};
} // namespace

std::unique_ptr<CachedBitmap> CachedBitmap::Open(int id)
{
    const auto bytes = FindPngResource(id);
    int width = 0;
    int height = 0;
    if (!ReadPngSize(bytes.data(), bytes.size(), width, height))
        return nullptr;
    return std::unique_ptr<CachedBitmap>(new CachedBitmap(id, width, height));
}

PixelSurface* CachedBitmap::Surface()
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

namespace
{
// A pointer the cache keeps for good, in the shared form SurfaceAt answers.
std::shared_ptr<const PixelSurface> Kept(const PixelSurface* pixels)
{
    return std::shared_ptr<const PixelSurface>(std::shared_ptr<const PixelSurface>(), pixels);
}
} // namespace

PixelSurface* CachedBitmap::SourceSetFor(double scale)
{
    // Only ever shrink: a smaller set enlarged would be blurred. The 1x set enlarged is the last resort,
    // for a module that lacks the larger sets.
    const int first = std::max(1, static_cast<int>(std::ceil(scale - 1e-9)));
    for (int set = first; set <= kLargestScaleSet; ++set)
    {
        if (set == 1)
            return Surface();
        CachedBitmap* picture = BitmapCache::Instance().Get(id_ + (set - 1) * kScaleSetIdStep);
        if (picture && picture->Width() == width_ * set && picture->Height() == height_ * set)
            if (PixelSurface* pixels = picture->Surface())
                return pixels;
    }
    return Surface();
}

std::shared_ptr<const PixelSurface> CachedBitmap::SurfaceAt(double scale)
{
    if (!(scale > 1.0))
        return Kept(Surface());
    const int width = static_cast<int>(std::lround(width_ * scale));
    const int height = static_cast<int>(std::lround(height_ * scale));
    PixelSurface* source = SourceSetFor(scale);
    if (!source || (source->Width() == width && source->Height() == height))
        return Kept(source);

    const long key = std::lround(scale * 1000.0);
    std::lock_guard guard(scaledLock_);
    ++useCount_;
    for (ScaledCopy& copy : scaled_)
        if (copy.key == key)
        {
            copy.lastUse = useCount_;
            return copy.pixels;
        }
    std::shared_ptr<const PixelSurface> pixels = BoxResample(*source, width, height);
    if (!pixels)
        return nullptr;
    if (scaled_.size() >= kKeptInBetweenScales)
        scaled_.erase(
            std::min_element(scaled_.begin(), scaled_.end(),
                             [](const ScaledCopy& a, const ScaledCopy& b) { return a.lastUse < b.lastUse; }));
    scaled_.push_back({key, useCount_, pixels});
    return pixels;
}

int CachedBitmap::DecodeCount()
{
    return decodeCount.load(std::memory_order_relaxed);
}

} // namespace tpm
