// Combine rules against hand-computed bytes, clipping, and bottom-up against top-down storage.
#include "draw/BlendMode.h"
#include "draw/Raster.h"

#include <gtest/gtest.h>

namespace tpm
{
namespace
{

uint32_t BlitOne(uint32_t d, uint32_t s, float weight, int mode)
{
    PixelSurface dest(1, 1);
    PixelSurface src(1, 1);
    dest.SetPixel(0, 0, d);
    src.SetPixel(0, 0, s);
    Blit(dest, src, 0, 0, {0, 0, 1, 1}, weight, mode);
    return dest.Pixel(0, 0);
}

uint32_t FillOne(uint32_t d, uint32_t colour, float weight, int mode)
{
    PixelSurface dest(1, 1);
    dest.SetPixel(0, 0, d);
    FillRect(dest, 0, 0, 1, 1, colour, weight, mode);
    return dest.Pixel(0, 0);
}

// Surface whose pixel (x, y) holds a value naming its place.
PixelSurface Numbered(int w, int h, bool bottomUp = false)
{
    PixelSurface s(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y << 8 | x));
    return s;
}

TEST(BlitRules, CopyIgnoringAlpha)
{
    EXPECT_EQ(BlitOne(0x10203040, 0x00FF8001, 1.0f, kBlendCopy), 0x00FF8001u);
    // Half weight averages whole words with shifts and masks (each byte rounds down).
    EXPECT_EQ(BlitOne(0x10203040, 0xFF804020, 0.5f, kBlendCopy), 0x87503830u);
    // Other weights move every byte, alpha too, truncating toward zero: 200 + (-190 * 192) / 256 = 58.
    EXPECT_EQ(BlitOne(0x0A0A0A0A, 0xC8C8C8C8, 0.25f, kBlendCopy), 0x3A3A3A3Au);
    EXPECT_EQ(BlitOne(0x0A0A0A0A, 0xC8C8C8C8, 0.0f, kBlendCopy), 0x0A0A0A0Au);
}

TEST(BlitRules, CopyWithSourceAlpha)
{
    const int mode = kBlendCopy | kBlendUseAlpha;
    EXPECT_EQ(BlitOne(0x32006464, 0x00C86400, 1.0f, mode), 0x32006464u) << "alpha 0 leaves the destination";
    EXPECT_EQ(BlitOne(0x32006464, 0xFFC86400, 1.0f, mode), 0xFFC86400u) << "alpha 255 replaces it";
    // a = 128 at full weight: alpha 50 + 128; r 200 + (-200 * 127) / 256 = 101; b (200 * 127) / 256 = 99.
    EXPECT_EQ(BlitOne(0x320064C8, 0x80C86400, 1.0f, mode), 0xB2656463u);
    // At half weight l = 128 * 129 / 256 = 64: alpha 114, r 200 - 150 = 50, b 150.
    EXPECT_EQ(BlitOne(0x320064C8, 0x80C86400, 0.5f, mode), 0x72326496u);
    EXPECT_EQ(BlitOne(0x320064C8, 0x00C86400, 0.5f, mode), 0x320064C8u);
    // Source alpha 255 at weight 0.75: l = 192 * 256 / 256 = 192.
    EXPECT_EQ(BlitOne(0x00000000, 0xFF808080, 0.75f, mode), 0xC0606060u);
}

TEST(BlitRules, AddWithSourceAlpha)
{
    const int mode = kBlendAdd | kBlendUseAlpha;
    // m = 256 * 129 / 256 = 129: r 100 + 100, g 200 + 50, alpha 50 + 64.
    EXPECT_EQ(BlitOne(0x3264C8FA, 0x80C86400, 1.0f, mode), 0x72C8FAFAu);
    EXPECT_EQ(BlitOne(0x80FAFAFA, 0xFFC8C8C8, 1.0f, mode), 0xFFFFFFFFu) << "sums clamp at 255";
    EXPECT_EQ(BlitOne(0x3264C8FA, 0x00C86400, 1.0f, mode), 0x3264C8FAu);
    // Half weight: m = 128 * 256 / 256 = 128, so half the source is added.
    EXPECT_EQ(BlitOne(0x00101010, 0xFF808080, 0.5f, mode), 0x7F505050u);
}

TEST(BlitRules, ColourDodgeWithSourceAlpha)
{
    const int mode = kBlendDodge | kBlendUseAlpha;
    // m = 256: r k = 128 -> 100 * 256 / 128; g k = 255 -> saturates; b k = 0 -> unchanged; alpha k = 255.
    EXPECT_EQ(BlitOne(0x64646464, 0xFF80FF00, 1.0f, mode), 0xFFC8FF64u);
    EXPECT_EQ(BlitOne(0x00000000, 0xFFFFFFFF, 1.0f, mode), 0x00000000u) << "black stays black";
    EXPECT_EQ(BlitOne(0x64646464, 0x00FFFFFF, 1.0f, mode), 0x64646464u) << "m = 1 changes nothing";
}

TEST(FillRect, WholeWordPathsAndWeightedPath)
{
    // Copy mode at c = 64, 128, 192 and 256 works on whole words.
    EXPECT_EQ(FillOne(0x40404040, 0xC0C0C0C0, 0.25f, kBlendCopy), 0x60606060u);
    EXPECT_EQ(FillOne(0x40404040, 0xC0C0C0C0, 0.5f, kBlendCopy), 0x80808080u);
    EXPECT_EQ(FillOne(0x40404040, 0xC0C0C0C0, 0.75f, kBlendCopy), 0xA0A0A0A0u);
    EXPECT_EQ(FillOne(0x40404040, 0xC0C0C0C0, 1.0f, kBlendCopy), 0xC0C0C0C0u);
    // With the alpha flag the colour's alpha scales the weight: alpha 150 gives c = 150.
    // r: (32 - 255) * 106 / 256 + 255 = 163; alpha: 150 + (255 - 150) * 106 / 256 = 193.
    EXPECT_EQ(FillOne(0xFF202020, 0x96FFFFFF, 1.0f, kBlendCopy | kBlendUseAlpha), 0xC1A3A3A3u);
    // The editor's blocked-LFO marker: red at alpha 200 over black, c = 200.
    EXPECT_EQ(FillOne(0xFF000000, 0xC8FF0000, 1.0f, kBlendCopy | kBlendUseAlpha), 0xD4C80000u);
    EXPECT_EQ(FillOne(0x12345678, 0x00FFFFFF, 1.0f, kBlendCopy | kBlendUseAlpha), 0x12345678u);
}

TEST(FillRect, ClipsToTheSurface)
{
    PixelSurface s(4, 3);
    FillRect(s, -2, 1, 4, 9, 0xFFFFFFFF, 1.0f, kBlendCopy);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.Pixel(x, y), (y >= 1 && x < 2) ? 0xFFFFFFFFu : 0u) << x << "," << y;
}

TEST(BlitClipping, NegativeDestinationMovesTheSourceStart)
{
    const PixelSurface src = Numbered(4, 4);
    PixelSurface dest(3, 3);
    Blit(dest, src, -1, -2, {0, 0, 4, 4}, 1.0f, kBlendCopy);
    EXPECT_EQ(dest.Pixel(0, 0), src.Pixel(1, 2));
    EXPECT_EQ(dest.Pixel(2, 1), src.Pixel(3, 3));
    EXPECT_EQ(dest.Pixel(0, 2), 0u) << "nothing below the source's last row";
}

TEST(BlitClipping, BoxesPastTheEdges)
{
    const PixelSurface src = Numbered(4, 4);
    PixelSurface dest(5, 5);
    // Source box past the source's right and bottom edges: only the 2 x 2 inside is copied.
    Blit(dest, src, 0, 0, {2, 2, 10, 10}, 1.0f, kBlendCopy);
    EXPECT_EQ(dest.Pixel(1, 1), src.Pixel(3, 3));
    EXPECT_EQ(dest.Pixel(2, 0), 0u);
    EXPECT_EQ(dest.Pixel(0, 2), 0u);

    // Destination past its right and bottom edges: one pixel lands.
    PixelSurface corner(5, 5);
    Blit(corner, src, 4, 4, {0, 0, 4, 4}, 1.0f, kBlendCopy | kBlendUseAlpha);
    EXPECT_EQ(corner.Pixel(4, 4), src.Pixel(0, 0));
    EXPECT_EQ(corner.Pixel(3, 4), 0u);

    // A source box starting left of the source moves the destination right by as much.
    PixelSurface shifted(5, 5);
    Blit(shifted, src, 0, 0, {-2, 0, 2, 1}, 1.0f, kBlendCopy);
    EXPECT_EQ(shifted.Pixel(2, 0), src.Pixel(0, 0));
    EXPECT_EQ(shifted.Pixel(3, 0), src.Pixel(1, 0));
    EXPECT_EQ(shifted.Pixel(1, 0), 0u);

    // Entirely outside: nothing happens, nothing crashes.
    PixelSurface untouched(2, 2);
    Blit(untouched, src, 7, -9, {0, 0, 4, 4}, 1.0f, kBlendCopy);
    Blit(untouched, src, -4, 0, {0, 0, 4, 4}, 1.0f, kBlendCopy);
    EXPECT_EQ(untouched.Pixel(0, 0), 0u);
}

TEST(BottomUp, EveryTransferSeesLogicalRows)
{
    for (bool srcUp : {false, true})
    {
        for (bool destUp : {false, true})
        {
            const PixelSurface src = Numbered(5, 4, srcUp);
            PixelSurface dest(6, 6, destUp);
            Blit(dest, src, 1, 2, {1, 1, 4, 3}, 1.0f, kBlendCopy);
            Blit(dest, src, 1, 4, {1, 1, 4, 3}, 0.5f, kBlendCopy); // a per-pixel rule, not the row copy
            RotatedBlit(dest, src, 0, 0, 2, 2, 3, 2, 2, 2, 0.0, true, 1.0f, kBlendCopy | kBlendFilter);
            FillRect(dest, 5, 0, 1, 2, 0xFFABCDEF, 1.0f, kBlendCopy);
            EXPECT_EQ(dest.Pixel(1, 2), src.Pixel(1, 1)) << srcUp << destUp;
            EXPECT_EQ(dest.Pixel(3, 3), src.Pixel(3, 2)) << srcUp << destUp;
            EXPECT_EQ(dest.Pixel(2, 5), (src.Pixel(2, 2) >> 1) & 0x7F7F7F7Fu) << srcUp << destUp;
            EXPECT_EQ(dest.Pixel(1, 1), src.Pixel(4, 3)) << srcUp << destUp;
            EXPECT_EQ(dest.Pixel(5, 1), 0xFFABCDEFu);
            EXPECT_EQ(dest.Pixel(5, 2), 0u);
        }
    }
}

TEST(BottomUp, StorageRunsFromTheLastRowAndViewsFollowIt)
{
    PixelSurface up(3, 4, true);
    up.SetPixel(1, 0, 7);
    EXPECT_EQ(up.Row(3) + up.Span() * 3, up.Row(0)) << "the top row is stored last";
    EXPECT_EQ(up.Row(0)[1], 7u);

    // A view clips drawing to its box, whatever the storage order.
    for (bool bottomUp : {false, true})
    {
        PixelSurface parent(6, 6, bottomUp);
        PixelSurface view = PixelSurface::View(parent, {2, 1, 5, 4});
        ASSERT_EQ(view.Width(), 3);
        FillRect(view, -10, -10, 100, 100, 0xFF00FF00, 1.0f, kBlendCopy);
        int lit = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
            {
                const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
                EXPECT_EQ(parent.Pixel(x, y), inside ? 0xFF00FF00u : 0u) << bottomUp << " " << x << "," << y;
                lit += inside;
            }
        EXPECT_EQ(lit, 9);
    }
}

TEST(IBoxTest, UnionAndIntersection)
{
    const PixelBox a{0, 0, 10, 10};
    const PixelBox b{5, 6, 20, 8};
    EXPECT_EQ(a.Union(b), (PixelBox{0, 0, 20, 10}));
    EXPECT_EQ(PixelBox{}.Union(b), b);
    EXPECT_EQ(a.Intersect(b), (PixelBox{5, 6, 10, 8}));
    EXPECT_TRUE(a.Intersect(PixelBox{10, 0, 12, 5}).Empty()) << "touching edges do not overlap";
    EXPECT_TRUE(a.Intersect(PixelBox{}).Empty());
}

TEST(IBlendTest, EditorMethodsMapToModes)
{
    EXPECT_EQ(BlendMode{}.Mode(), kBlendCopy | kBlendUseAlpha);
    EXPECT_EQ((BlendMode{BlendMode::kCopy, 1.0f}.Mode()), kBlendCopy);
    EXPECT_EQ((BlendMode{BlendMode::kAdd, 1.0f}.Mode()), kBlendAdd | kBlendUseAlpha);
    EXPECT_EQ((BlendMode{BlendMode::kColourDodge, 1.0f}.Mode()), kBlendDodge | kBlendUseAlpha);
}

} // namespace
} // namespace tpm
