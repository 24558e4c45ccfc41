#include "draw/BitmapCache.h"

namespace tpm
{

BitmapCache& BitmapCache::Instance()
{
    static BitmapCache cache;
    return cache;
}

CachedBitmap* BitmapCache::Get(int id)
{
    std::lock_guard guard(lock_);
    auto it = pictures_.find(id);
    if (it != pictures_.end())
        return it->second.get();
    auto picture = CachedBitmap::Open(id);
    if (!picture)
        return nullptr;
    return pictures_.emplace(id, std::move(picture)).first->second.get();
}

BitmapRef LoadBitmap(int id, const char* /*name*/, int frames)
{
    BitmapRef ref;
    ref.N = frames < 1 ? 1 : frames;
    ref.picture = BitmapCache::Instance().Get(id);
    if (ref.picture)
    {
        ref.W = ref.picture->Width();
        ref.H = ref.picture->Height();
    }
    return ref;
}

} // namespace tpm
