// Text: encoding detection, placement by alignment, coverage blending and clipping.
#include "draw/DrawText.h"
#include "draw/FontCache.h"
#include "draw/SystemSurface.h"
#include "draw/TextEncoding.h"

#include <gtest/gtest.h>

namespace tpm
{
namespace
{

TEST(TextEncoding, Utf8IsRecognisedBySequence)
{
    EXPECT_FALSE(ContainsUtf8Sequence("432.0 Hz"));
    EXPECT_FALSE(ContainsUtf8Sequence("\xB5s"));        // Windows-1252 micro sign
    EXPECT_FALSE(ContainsUtf8Sequence("\xC1\xB5"));     // 0xC1 never starts a sequence
    EXPECT_TRUE(ContainsUtf8Sequence("\xC2\xB5s"));     // U+00B5 in UTF-8
    EXPECT_TRUE(ContainsUtf8Sequence("a\xE2\x82\xAC")); // U+20AC
    EXPECT_FALSE(ContainsUtf8Sequence("\xE2\x82"));     // cut short

    EXPECT_EQ(DecodeText("\xB5s"), U"\u00B5s");
    EXPECT_EQ(DecodeText("\x80"), U"\u20AC") << "plain 8-bit text is Windows-1252";
    EXPECT_EQ(DecodeText("\xC2\xB5s \xE2\x82\xAC"), U"\u00B5s \u20AC");
    EXPECT_EQ(DecodeText("\xC2\xB5 \xB5"), U"\u00B5 \u00B5") << "stray bytes in UTF-8 text fall back";
}

TEST(TextEncoding, Utf16AndUtf8MeetAtWholeCodePoints)
{
    char32_t point = 0;
    EXPECT_EQ(ReadUtf8("\xF0\x9F\x8E\xB5", 0, point), 4u);
    char16_t units[2];
    ASSERT_EQ(EncodeUtf16(point, units), 2u) << "beyond U+FFFF: a surrogate pair";
    EXPECT_EQ(ReadUtf16(std::u16string_view(units, 2), 0, point), 2u);
    EXPECT_EQ(point, U'\U0001F3B5');
    EXPECT_EQ(ReadUtf16(u"\xD800"
                        u"a",
                        0, point),
              1u);
    EXPECT_EQ(point, U'\xFFFD') << "a lone surrogate";
    EXPECT_EQ(ReadUtf8("\xED\xA0\x80", 0, point), 0u) << "a surrogate in UTF-8 is no character";
    EXPECT_EQ(ReadUtf8("\xC0\xAF", 0, point), 0u) << "nor is an overlong form";
}

struct Extent
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, brightest = 0;
};

Extent LitExtent(const PixelSurface& s)
{
    Extent e;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
        {
            const int g = static_cast<int>(s.Pixel(x, y) >> 8 & 0xFF);
            if (g == 0)
                continue;
            e.left = std::min(e.left, x);
            e.right = std::max(e.right, x + 1);
            e.top = std::min(e.top, y);
            e.bottom = std::max(e.bottom, y + 1);
            e.brightest = std::max(e.brightest, g);
        }
    return e;
}

class TextDrawing : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        style_ = TextStyle("Arial", 15, Rgba(255, 255, 255, 255));
        font_ = FontCache::Instance().ForStyle(style_);
        ASSERT_NE(font_, nullptr);
        colour_ = style_.colour.Packed();
    }
    Extent Draw(const char* text, const PixelBox& box, int flags, int w = 120, int h = 40)
    {
        PixelSurface s(w, h);
        s.Clear(0xFF000000);
        EXPECT_TRUE(DrawText(s, *font_, colour_, text, box, flags));
        return LitExtent(s);
    }
    TextStyle style_;
    Font* font_ = nullptr;
    uint32_t colour_ = 0;
};

TEST_F(TextDrawing, FontsComeFromTheCacheOncePerAttributes)
{
    TextStyle same("Arial", 15, Rgba(10, 1, 2, 3), 0, TextStyle::kAlignRight);
    EXPECT_EQ(FontCache::Instance().ForStyle(same), font_) << "colour and alignment are not part of the key";
    TextStyle bold("Arial", 15, Rgba(), TextStyle::kBold);
    EXPECT_NE(FontCache::Instance().ForStyle(bold), font_);
    TextStyle crisp("Arial", 15, Rgba(), 0, TextStyle::kAlignLeft, 0, TextStyle::kQualityNoAntialias);
    EXPECT_NE(FontCache::Instance().ForStyle(crisp), font_) << "quality is part of the key";
    TextStyle verdana("Verdana", 13, Rgba());
    EXPECT_NE(FontCache::Instance().ForStyle(verdana), nullptr);
}

TEST_F(TextDrawing, TopAlignedInTheCellOfTheFontsSize)
{
    const Extent e = Draw("Hg", {10, 10, 110, 25}, kTextAlignLeft | kTextNoClip);
    ASSERT_GT(e.right, 0) << "something was drawn";
    EXPECT_EQ(e.brightest, 255);
    // The 15-pixel cell holds ascenders and descenders: capitals start a few rows down.
    EXPECT_GE(e.top, 11);
    EXPECT_LE(e.top, 15);
    EXPECT_LE(e.bottom, 26);
    EXPECT_GE(e.bottom, 22) << "the descender of g reaches into the cell's lower part";
    EXPECT_GE(e.left, 10);
    EXPECT_LE(e.left, 12);
}

TEST_F(TextDrawing, AlignmentPlacesTheLineInTheBox)
{
    const PixelBox box{20, 5, 100, 20};
    const Extent left = Draw("Mix", box, kTextAlignLeft | kTextNoClip);
    const Extent centre = Draw("Mix", box, kTextAlignCentre | kTextNoClip);
    const Extent right = Draw("Mix", box, kTextAlignRight | kTextNoClip);
    const int width = left.right - left.left;
    EXPECT_EQ(centre.right - centre.left, width);
    EXPECT_LE(left.left - box.left, 2);
    EXPECT_LE(box.right - right.right, 2);
    EXPECT_LE(std::abs((centre.left - box.left) - (box.right - centre.right)), 2);
}

TEST_F(TextDrawing, AlphaFlagScalesTheColourAndOtherwiseItIsOpaque)
{
    colour_ = Rgba(100, 255, 255, 255).Packed();
    const Extent faint = Draw("Hz", {0, 0, 60, 20}, kTextUseAlpha | kTextNoClip);
    EXPECT_GE(faint.brightest, 98);
    EXPECT_LE(faint.brightest, 101);
    const Extent solid = Draw("Hz", {0, 0, 60, 20}, kTextNoClip);
    EXPECT_EQ(solid.brightest, 255) << "without the flag the colour's alpha is not applied";
}

TEST_F(TextDrawing, ClipsToTheBoxUnlessAskedNotTo)
{
    const PixelBox narrow{10, 5, 20, 20};
    const Extent clipped = Draw("Binaural", narrow, kTextAlignLeft);
    EXPECT_GE(clipped.left, 10);
    EXPECT_LE(clipped.right, 20);
    const Extent free = Draw("Binaural", narrow, kTextAlignLeft | kTextNoClip);
    EXPECT_GT(free.right, 40);
    // Text running off the surface's edges is cut there, not written past them.
    const Extent edge = Draw("Binaural Off", {-30, -8, 10, 10}, kTextAlignLeft | kTextNoClip, 30, 10);
    EXPECT_GE(edge.left, 0);
}

TEST_F(TextDrawing, EmptyTextDrawsNothing)
{
    const Extent e = Draw("", {0, 0, 50, 20}, kTextNoClip);
    EXPECT_EQ(e.right, -1);
}

TEST(SystemSurfaceTest, MatchesThePlatform)
{
    auto s = CreateSystemSurface(550, 363);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Width(), 550);
    EXPECT_EQ(s->Height(), 363);
#ifdef _WIN32
    EXPECT_NE(s->NativeContext(), nullptr);
    EXPECT_TRUE(s->BottomUp()) << "a DIB section with positive height";
#else
    EXPECT_EQ(s->NativeContext(), nullptr);
#endif
    EXPECT_FALSE(CreateSystemSurface(0, 10));
}

} // namespace
} // namespace tpm
