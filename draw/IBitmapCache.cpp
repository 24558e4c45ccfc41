#include "draw/IBitmapCache.h"

namespace tpm
{

IBitmapCache& IBitmapCache::Instance()
{
    static IBitmapCache cache;
    return cache;
}

ICachedBitmap* IBitmapCache::Get(int id)
{
    std::lock_guard guard(lock_);
    auto it = pictures_.find(id);
    if (it != pictures_.end())
        return it->second.get();
    auto picture = ICachedBitmap::Open(id);
    if (!picture)
        return nullptr;
    return pictures_.emplace(id, std::move(picture)).first->second.get();
}

IBitmapRef LoadBitmap(int id, const char* /*name*/, int frames)
{
    IBitmapRef ref;
    ref.N = frames < 1 ? 1 : frames;
    ref.picture = IBitmapCache::Instance().Get(id);
    if (ref.picture)
    {
        ref.W = ref.picture->Width();
        ref.H = ref.picture->Height();
    }
    return ref;
}

} // namespace tpm
