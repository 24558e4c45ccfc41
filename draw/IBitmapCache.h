#pragma once

#include "draw/IBitmapRef.h"
#include "draw/ISurface.h"

#include <map>
#include <memory>
#include <mutex>

// <windows.h> maps this name to its A/W variants; keep ours intact in files that include both.
#ifdef LoadBitmap
#undef LoadBitmap
#endif

namespace tpm
{

// The process-wide store of decoded pictures, by resource id. Every plug-in instance and control shares
// one decoded surface per picture; surfaces live until the module is unloaded, so references handed
// out never dangle.
class IBitmapCache
{
  public:
    static IBitmapCache& Instance();

    // The cached surface for id, or null.
    ISurface* Find(int id);
    // Stores surface under id unless one is there already; answers the one kept.
    ISurface* Insert(int id, std::unique_ptr<ISurface> surface);

  private:
    std::mutex lock_;
    std::map<int, std::unique_ptr<ISurface>> surfaces_;
};

// Decodes the module's PNG resource id; none when it is missing or too small to be a PNG.
std::unique_ptr<ISurface> LoadBitmapResource(int id);

// The picture of resource id from the cache, decoding it on first use, with frames stacked in it. The
// name documents which file the id came from; lookups go by id alone.
IBitmapRef LoadBitmap(int id, const char* name, int frames);

} // namespace tpm
