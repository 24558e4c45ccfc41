#pragma once

#include "draw/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <mutex>
#include <unordered_map>

namespace tpm
{

// A system font on Linux: fontconfig picks the file (Liberation Sans for "Arial", DejaVu Sans for
// "Verdana"), FreeType rasterises. Sized the way GDI sizes a font of positive height, so the cell from
// ascent to descent is `size` pixels and layouts measured on Windows hold here.
class FreeTypeFont final : public Font
{
  public:
    static std::unique_ptr<FreeTypeFont> Open(const char* face, int size, int orientation, int style,
                                              int quality);
    ~FreeTypeFont() override;

    bool DrawNative(PixelSurface&, uint32_t, std::string_view, const PixelBox&, int, bool) override
    {
        return false;
    }
    bool RenderCoverage(std::string_view text, const PixelBox& box, int align, TextCoverage& out) override;

    int Ascent() const { return ascent_; }
    int LineHeight() const { return lineHeight_; }

  private:
    struct Glyph
    {
        int left = 0; // bitmap offset from the pen, x right
        int top = 0;  // bitmap offset from the pen, y up
        int width = 0;
        int height = 0;
        long advanceX = 0; // 26.6, y up
        long advanceY = 0;
        std::vector<uint8_t> coverage;
    };

    FreeTypeFont() = default;
    const Glyph& GlyphFor(char32_t cp);

    FT_Library library_ = nullptr; // held from Open until the font goes
    FT_Face face_ = nullptr;
    int ascent_ = 0;
    int lineHeight_ = 0;
    bool mono_ = false;
    bool embolden_ = false;
    double angle_ = 0.0; // radians, counter-clockwise
    std::mutex lock_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

} // namespace tpm
