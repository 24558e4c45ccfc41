#include "draw/TextStyle.h"

#include <cstring>

namespace tpm
{

TextStyle::TextStyle(const char* faceName, int sizePx, Rgba textColour, int styleBits, int alignment,
                     int orientationDeg, int fontQuality)
    : size(sizePx), colour(textColour), style(styleBits), align(alignment), orientation(orientationDeg),
      quality(fontQuality)
{
    SetFace(faceName);
}

void TextStyle::SetFace(const char* faceName)
{
    std::memset(face, 0, sizeof face);
    if (faceName)
        std::strncpy(face, faceName, sizeof face - 1);
    cachedFont = nullptr;
    scaledFont = nullptr;
}

} // namespace tpm
