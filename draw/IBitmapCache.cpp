#include "draw/IBitmapCache.h"

#include "draw/PngDecoder.h"
#include "draw/ResourceStore.h"

namespace tpm
{

IBitmapCache& IBitmapCache::Instance()
{
    static IBitmapCache cache;
    return cache;
}

ISurface* IBitmapCache::Find(int id)
{
    std::lock_guard guard(lock_);
    auto it = surfaces_.find(id);
    return it == surfaces_.end() ? nullptr : it->second.get();
}

ISurface* IBitmapCache::Insert(int id, std::unique_ptr<ISurface> surface)
{
    std::lock_guard guard(lock_);
    auto [it, inserted] = surfaces_.try_emplace(id, std::move(surface));
    return it->second.get();
}

std::unique_ptr<ISurface> LoadBitmapResource(int id)
{
    const auto bytes = FindPngResource(id);
    if (bytes.size() <= 7)
        return nullptr;
    return DecodePng(bytes.data(), bytes.size());
}

IBitmapRef LoadBitmap(int id, const char* /*name*/, int frames)
{
    IBitmapCache& cache = IBitmapCache::Instance();
    ISurface* surface = cache.Find(id);
    if (!surface)
    {
        // Decoded outside the lock; when two threads race, the first insertion wins and the other
        // decoded copy is dropped.
        auto decoded = LoadBitmapResource(id);
        if (decoded)
            surface = cache.Insert(id, std::move(decoded));
    }
    IBitmapRef ref;
    ref.N = frames < 1 ? 1 : frames;
    if (surface)
    {
        ref.surface = surface;
        ref.W = surface->Width();
        ref.H = surface->Height();
    }
    return ref;
}

} // namespace tpm
