#pragma once

#include "draw/BitmapRef.h"
#include "draw/CachedBitmap.h"

#include <map>
#include <memory>
#include <mutex>

// <windows.h> maps this name to its A/W variants; keep ours intact in files that include both.
#ifdef LoadBitmap
#undef LoadBitmap
#endif

namespace tpm
{

// The process-wide store of pictures, by resource id. Every plug-in instance and control shares one
// picture per id, decoded once when first drawn; pictures live until the module is unloaded, so
// references handed out never dangle.
class BitmapCache
{
  public:
    static BitmapCache& Instance();

    // The picture of resource id, made on first request; null when the module has none.
    CachedBitmap* Get(int id);

  private:
    std::mutex lock_;
    std::map<int, std::unique_ptr<CachedBitmap>> pictures_;
};

// The picture of resource id from the cache, with frames stacked in it. The name documents which file
// the id came from; lookups go by id alone.
BitmapRef LoadBitmap(int id, const char* name, int frames);

} // namespace tpm
