#include "draw/ITextStyle.h"

#include <cstring>

namespace tpm
{

ITextStyle::ITextStyle(const char* faceName, int sizePx, IRgba textColour, int styleBits, int alignment,
                       int orientationDeg, int fontQuality)
    : size(sizePx), colour(textColour), style(styleBits), align(alignment), orientation(orientationDeg),
      quality(fontQuality)
{
    SetFace(faceName);
}

void ITextStyle::SetFace(const char* faceName)
{
    std::memset(face, 0, sizeof face);
    if (faceName)
        std::strncpy(face, faceName, sizeof face - 1);
    cachedFont = nullptr;
    scaledFont = nullptr;
}

} // namespace tpm
