#include "draw/IFontCache.h"

#include <cmath>

namespace tpm
{

IFontCache& IFontCache::Instance()
{
    static IFontCache cache;
    return cache;
}

IFont* IFontCache::Get(int size, int orientation, int style, const char* face, int quality)
{
    Key key{size, orientation, style, quality, face ? face : ""};
    std::lock_guard guard(lock_);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return it->second.get();
    auto font = IFont::Create(std::get<4>(key).c_str(), size, orientation, style, quality);
    if (!font)
        return nullptr;
    IFont* result = font.get();
    fonts_.emplace(std::move(key), std::move(font));
    return result;
}

IFont* IFontCache::ForStyle(ITextStyle& style)
{
    if (!style.cachedFont)
        style.cachedFont = Get(style.size, style.orientation, style.style, style.face, style.quality);
    return style.cachedFont;
}

IFont* IFontCache::ForStyle(ITextStyle& style, double scale)
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
