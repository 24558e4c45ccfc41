#include "draw/DrawText.h"

#include <algorithm>

namespace tpm
{

namespace
{

uint32_t BlendCoverage(uint32_t d, uint32_t colour, int a)
{
    // Straight "over" with a = coverage x opacity, rounded; the alpha byte saturates towards opaque.
    auto mix = [a](int dv, int cv) { return dv + ((cv - dv) * a + (cv > dv ? 127 : -127)) / 255; };
    const int da = static_cast<int>(d >> 24);
    const int outA = da + ((255 - da) * a + 127) / 255;
    return static_cast<uint32_t>(outA) << 24 |
           static_cast<uint32_t>(mix(static_cast<int>(d >> 16 & 0xFF), static_cast<int>(colour >> 16 & 0xFF)))
               << 16 |
           static_cast<uint32_t>(mix(static_cast<int>(d >> 8 & 0xFF), static_cast<int>(colour >> 8 & 0xFF)))
               << 8 |
           static_cast<uint32_t>(mix(static_cast<int>(d & 0xFF), static_cast<int>(colour & 0xFF)));
}

} // namespace

bool DrawText(PixelSurface& dest, Font& font, uint32_t colour, std::string_view text, const PixelBox& box,
              int flags)
{
    if (text.empty())
        return true;
    if (!dest.Valid())
        return false;
    const int align = flags & kTextAlignMask;
    const bool useAlpha = (flags & kTextUseAlpha) != 0;
    if (!useAlpha && dest.NativeContext() &&
        font.DrawNative(dest, colour, text, box, align, !(flags & kTextNoClip)))
        return true;

    TextCoverage cov;
    if (!font.RenderCoverage(text, box, align, cov))
        return false;

    const int opacity = useAlpha ? static_cast<int>(colour >> 24) : 255;
    if (opacity == 0)
        return true;
    PixelBox area = cov.box.Intersect(dest.Bounds());
    if (!(flags & kTextNoClip))
        area = area.Intersect(box);
    if (area.Empty())
        return true;

    const int covW = cov.box.W();
    for (int y = area.top; y < area.bottom; ++y)
    {
        uint32_t* d = dest.Row(y);
        const uint8_t* row = cov.values.data() + static_cast<size_t>(y - cov.box.top) * covW;
        for (int x = area.left; x < area.right; ++x)
        {
            const int v = row[x - cov.box.left];
            if (v == 0)
                continue;
            const int a = opacity == 255 ? v : (v * opacity + 127) / 255;
            d[x] = BlendCoverage(d[x], colour, a);
        }
    }
    return true;
}

} // namespace tpm
