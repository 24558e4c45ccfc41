#pragma once

#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tpm
{

// Text coverage laid out in destination coordinates: one 0..255 value per pixel of box, row by row.
struct TextCoverage
{
    PixelBox box;
    std::vector<uint8_t> values;
};

// A system font as the text drawing needs it. Fonts are shared by every editor of the process, so
// nothing that differs between draw calls (colour, alignment) is stored in them. The platform part (GDI on
// Windows, FreeType with fontconfig on Linux) lays out and rasterises; the blending into surfaces is shared.
class Font
{
  public:
    // A font of the face, cell height in pixels, orientation in degrees, bold/italic bits and quality
    // as in TextStyle; null when the platform cannot make it.
    static std::unique_ptr<Font> Create(const char* face, int size, int orientation, int style, int quality);

    virtual ~Font() = default;

    // Draws opaque text straight through the surface's platform context, in `colour`, with the
    // alignment (0 left, 1 centre, 2 right), top-aligned, and clipped to the box when `clip` is set.
    // Answers false when that cannot be done here, and the caller blends coverage instead.
    virtual bool DrawNative(PixelSurface& dest, uint32_t colour, std::string_view text, const PixelBox& box,
                            int align, bool clip) = 0;

    // Lays the text out in box as DrawNative would and answers its coverage; false when nothing can be
    // rendered.
    virtual bool RenderCoverage(std::string_view text, const PixelBox& box, int align, TextCoverage& out) = 0;
};

} // namespace tpm
