#include "draw/FontCache.h"

#include <cmath>

namespace tpm
{

FontCache& FontCache::Instance()
{
    static FontCache cache;
    return cache;
}

Font* FontCache::Get(int size, int orientation, int style, const char* face, int quality)
{
    Key key{size, orientation, style, quality, face ? face : ""};
    std::lock_guard guard(lock_);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return it->second.get();
    auto font = Font::Create(std::get<4>(key).c_str(), size, orientation, style, quality);
    if (!font)
        return nullptr;
    Font* result = font.get();
    fonts_.emplace(std::move(key), std::move(font));
    return result;
}

Font* FontCache::ForStyle(TextStyle& style)
{
    if (!style.cachedFont)
        style.cachedFont = Get(style.size, style.orientation, style.style, style.face, style.quality);
    return style.cachedFont;
}

Font* FontCache::ForStyle(TextStyle& style, double scale)
{
    const int size = static_cast<int>(std::lround(style.size * scale));
    if (size == style.size)
        return ForStyle(style);
    if (!style.scaledFont || style.scaledSize != size)
    {
        style.scaledFont = Get(size, style.orientation, style.style, style.face, style.quality);
        style.scaledSize = size;
    }
    return style.scaledFont;
}

} // namespace tpm
