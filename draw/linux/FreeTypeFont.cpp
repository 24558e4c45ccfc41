#include "draw/linux/FreeTypeFont.h"

#include "draw/TextEncoding.h"
#include "draw/TextStyle.h"

#include <fontconfig/fontconfig.h>
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>

namespace tpm
{

namespace
{

// One FreeType library for all fonts, made with the first font and released with the last, so that a
// host unloading the module leaves nothing behind. FreeType lets threads share it as long as faces are
// opened and closed one at a time, under this lock. Namespace-scope state is constant-initialised:
// it outlives the font cache, whose fonts release the library when the module goes.
std::mutex libraryLock;
FT_Library library = nullptr;
int libraryUsers = 0;

// Both with libraryLock held.
FT_Library AcquireLibrary()
{
    if (libraryUsers == 0 && FT_Init_FreeType(&library) != 0)
    {
        library = nullptr;
        return nullptr;
    }
    ++libraryUsers;
    return library;
}

void ReleaseLibrary()
{
    if (--libraryUsers == 0)
    {
        FT_Done_FreeType(library);
        library = nullptr;
    }
}

struct MatchedFile
{
    std::string path;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

bool MatchFont(const char* face, bool bold, bool italic, MatchedFile& out)
{
    if (!FcInit())
        return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    if (face && *face)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found)
    {
        out.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &out.index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &out.weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &out.slant);
    }
    FcPatternDestroy(match);
    return found;
}

} // namespace

std::unique_ptr<Font> Font::Create(const char* face, int size, int orientation, int style, int quality)
{
    return FreeTypeFont::Open(face, size, orientation, style, quality);
}

std::unique_ptr<FreeTypeFont> FreeTypeFont::Open(const char* face, int size, int orientation, int style,
                                                 int quality)
{
    if (size <= 0 || size > 1000)
        return nullptr;
    const bool bold = (style & TextStyle::kBold) != 0;
    const bool italic = (style & TextStyle::kItalic) != 0;

    // Made before the lock is taken, so that a font given up below is destroyed after it is released.
    std::unique_ptr<FreeTypeFont> font(new FreeTypeFont());
    std::lock_guard guard(libraryLock);
    font->library_ = AcquireLibrary();
    MatchedFile file;
    if (!font->library_ || !MatchFont(face, bold, italic, file))
        return nullptr;
    if (FT_New_Face(font->library_, file.path.c_str(), file.index, &font->face_) != 0)
        return nullptr;
    FT_Face ft = font->face_;
    if (!FT_IS_SCALABLE(ft))
        return nullptr;

    // GDI gives a font of positive height h a cell of h pixels from the Windows ascent to the Windows
    // descent; size the em square so that holds.
    double asc = ft->ascender;
    double desc = -ft->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        os2 && os2->usWinAscent + os2->usWinDescent > 0)
    {
        asc = os2->usWinAscent;
        desc = os2->usWinDescent;
    }
    if (asc + desc <= 0)
        return nullptr;
    const double ppem = size * static_cast<double>(ft->units_per_EM) / (asc + desc);
    if (FT_Set_Char_Size(ft, 0, static_cast<FT_F26Dot6>(std::lround(ppem * 64.0)), 72, 72) != 0)
        return nullptr;
    font->ascent_ = static_cast<int>(std::lround(asc * size / (asc + desc)));
    font->lineHeight_ = size;
    font->mono_ = quality == TextStyle::kQualityNoAntialias;
    font->embolden_ = bold && file.weight < FC_WEIGHT_DEMIBOLD;
    font->angle_ = orientation * std::numbers::pi / 180.0;

    // Orientation turns glyphs and baseline; a face without an italic gets GDI's kind of slant.
    const double shear = italic && file.slant == FC_SLANT_ROMAN ? 0.2 : 0.0;
    if (orientation != 0 || shear != 0.0)
    {
        const double c = std::cos(font->angle_);
        const double s = std::sin(font->angle_);
        FT_Matrix m;
        m.xx = static_cast<FT_Fixed>(std::lround(c * 65536.0));
        m.xy = static_cast<FT_Fixed>(std::lround((c * shear - s) * 65536.0));
        m.yx = static_cast<FT_Fixed>(std::lround(s * 65536.0));
        m.yy = static_cast<FT_Fixed>(std::lround((s * shear + c) * 65536.0));
        FT_Set_Transform(ft, &m, nullptr);
    }
    return font;
}

FreeTypeFont::~FreeTypeFont()
{
    if (!library_)
        return;
    std::lock_guard guard(libraryLock);
    if (face_)
        FT_Done_Face(face_);
    ReleaseLibrary();
}

const FreeTypeFont::Glyph& FreeTypeFont::GlyphFor(char32_t cp)
{
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end())
        return it->second;

    Glyph g;
    const FT_UInt index = FT_Get_Char_Index(face_, cp);
    const FT_Int32 flags = mono_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
    if (FT_Load_Glyph(face_, index, flags) == 0)
    {
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_)
            FT_GlyphSlot_Embolden(slot);
        g.advanceX = slot->advance.x;
        g.advanceY = slot->advance.y;
        if (FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0)
        {
            const FT_Bitmap& bm = slot->bitmap;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.coverage.resize(static_cast<size_t>(g.width) * g.height);
            for (int y = 0; y < g.height; ++y)
            {
                const uint8_t* src = bm.buffer + static_cast<long>(y) * bm.pitch;
                uint8_t* dst = g.coverage.data() + static_cast<size_t>(y) * g.width;
                for (int x = 0; x < g.width; ++x)
                {
                    if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                        dst[x] = (src[x >> 3] >> (7 - (x & 7)) & 1) ? 255 : 0;
                    else
                        dst[x] = src[x];
                }
            }
        }
    }
    return glyphs_.emplace(cp, std::move(g)).first->second;
}

bool FreeTypeFont::RenderCoverage(std::string_view text, const PixelBox& box, int align, TextCoverage& out)
{
    const std::u32string codepoints = DecodeText(text);
    std::lock_guard guard(lock_);

    struct Placed
    {
        const Glyph* glyph;
        int x; // bitmap top-left on screen
        int y;
    };
    std::vector<Placed> placed;
    placed.reserve(codepoints.size());

    // Screen directions of the baseline (along) and of "down" for the turned text.
    const double cosA = std::cos(angle_);
    const double sinA = std::sin(angle_);
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;

    size_t lineStart = 0;
    for (int line = 0; lineStart <= codepoints.size(); ++line)
    {
        size_t lineEnd = codepoints.find(U'\n', lineStart);
        if (lineEnd == std::u32string::npos)
            lineEnd = codepoints.size();

        std::vector<const Glyph*> glyphs;
        long width26 = 0;
        for (size_t i = lineStart; i < lineEnd; ++i)
        {
            if (codepoints[i] < 0x20)
                continue;
            const Glyph& g = GlyphFor(codepoints[i]);
            glyphs.push_back(&g);
            width26 += static_cast<long>(std::lround(std::hypot(g.advanceX, g.advanceY)));
        }
        const int width = static_cast<int>((width26 + 32) >> 6);
        int offset = 0;
        if (align == 1)
            offset = (box.W() - width) / 2;
        else if (align >= 2)
            offset = box.W() - width;

        // Pen origin on the baseline: the line's top-left moved along the baseline by the alignment
        // offset and down by the line and the ascent, all turned with the text.
        const double down = static_cast<double>(line) * lineHeight_ + ascent_;
        const double originX = box.left + offset * cosA + down * sinA;
        const double originY = box.top - offset * sinA + down * cosA;
        long penX = 0; // 26.6 along FreeType's y-up axes
        long penY = 0;
        for (const Glyph* g : glyphs)
        {
            if (g->width > 0 && g->height > 0)
            {
                const int x = static_cast<int>(std::lround(originX + penX / 64.0)) + g->left;
                const int y = static_cast<int>(std::lround(originY - penY / 64.0)) - g->top;
                placed.push_back({g, x, y});
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x + g->width);
                maxY = std::max(maxY, y + g->height);
            }
            penX += g->advanceX;
            penY += g->advanceY;
        }
        lineStart = lineEnd + 1;
    }

    out.values.clear();
    if (placed.empty())
    {
        out.box = {};
        return true;
    }
    out.box = {minX, minY, maxX, maxY};
    const int w = maxX - minX;
    out.values.assign(static_cast<size_t>(w) * (maxY - minY), 0);
    for (const Placed& p : placed)
    {
        for (int y = 0; y < p.glyph->height; ++y)
        {
            uint8_t* dst = out.values.data() + static_cast<size_t>(p.y + y - minY) * w + (p.x - minX);
            const uint8_t* src = p.glyph->coverage.data() + static_cast<size_t>(y) * p.glyph->width;
            for (int x = 0; x < p.glyph->width; ++x)
                dst[x] = static_cast<uint8_t>(std::min(255, dst[x] + src[x]));
        }
    }
    return true;
}

} // namespace tpm
