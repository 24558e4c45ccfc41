// The rotated transfer: geometry at 0 and 90 degrees, sub-pixel offsets, clipping and combine rules.
#include "draw/Raster.h"

#include <gtest/gtest.h>

#include <numbers>

namespace tpm
{
namespace
{

PixelSurface Asymmetric(int w, int h)
{
    PixelSurface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y,
                       0xFF000000u | static_cast<uint32_t>((x * 37 + y * 11) & 0xFF) << 16 |
                           static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y));
    return s;
}

constexpr int kFiltered = kBlendCopy | kBlendFilter;

TEST(RotatedBlit, AngleZeroEqualsACopy)
{
    const PixelSurface src = Asymmetric(7, 5);
    for (int mode : {kBlendCopy, kFiltered, kFiltered | kBlendUseAlpha})
    {
        PixelSurface rotated(9, 8);
        PixelSurface copied(9, 8);
        RotatedBlit(rotated, src, 1, 2, 7, 5, 0, 0, 7, 5, 0.0, false, 1.0f, mode);
        Blit(copied, src, 1, 2, {0, 0, 7, 5}, 1.0f, mode & ~kBlendFilter);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(rotated.Pixel(x, y), copied.Pixel(x, y)) << mode << " " << x << "," << y;
    }
}

TEST(RotatedBlit, QuarterTurnIsClockwise)
{
    const PixelSurface src = Asymmetric(4, 4);
    PixelSurface dest(4, 4);
    RotatedBlit(dest, src, 0, 0, 4, 4, 0, 0, 4, 4, std::numbers::pi / 2, false, 1.0f, kFiltered);
    // The source's top row becomes the right column, read downwards.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dest.Pixel(x, y), src.Pixel(y, 3 - x)) << x << "," << y;
}

TEST(RotatedBlit, FractionalSourceOffsetMixesNeighbours)
{
    PixelSurface src(2, 1);
    src.SetPixel(0, 0, 0xFF000000);
    src.SetPixel(1, 0, 0xFFC8C8C8);
    PixelSurface dest(1, 1);
    // Half a pixel right: the sample sits midway between the two source pixels.
    RotatedBlit(dest, src, 0, 0, 1, 1, 0.5, 0, 1, 1, 0.0, false, 1.0f, kFiltered);
    EXPECT_EQ(dest.Pixel(0, 0), 0xFF646464u);
}

TEST(RotatedBlit, SkipsSamplesOutsideTheSourceAndClipsToTheDestination)
{
    const PixelSurface src = Asymmetric(4, 4);
    PixelSurface dest(3, 3);
    dest.Clear(0x11111111);
    // Read one pixel up-left of the source: the first row and column have no sample.
    RotatedBlit(dest, src, 0, 0, 3, 3, -1, -1, 3, 3, 0.0, false, 1.0f, kFiltered);
    EXPECT_EQ(dest.Pixel(0, 0), 0x11111111u);
    EXPECT_EQ(dest.Pixel(2, 0), 0x11111111u);
    EXPECT_EQ(dest.Pixel(1, 1), src.Pixel(0, 0));
    EXPECT_EQ(dest.Pixel(2, 2), src.Pixel(1, 1));

    // Negative destination start: only the visible part is drawn.
    PixelSurface edge(2, 2);
    RotatedBlit(edge, src, -2, -2, 4, 4, 0, 0, 4, 4, 0.0, false, 1.0f, kFiltered);
    EXPECT_EQ(edge.Pixel(0, 0), src.Pixel(2, 2));
    EXPECT_EQ(edge.Pixel(1, 1), src.Pixel(3, 3));

    // Clipping to the source box keeps samples from outside it away.
    PixelSurface clipped(4, 4);
    RotatedBlit(clipped, src, 0, 0, 2, 2, 1, 1, 2, 2, std::numbers::pi, true, 1.0f, kFiltered);
    EXPECT_EQ(clipped.Pixel(0, 0), src.Pixel(2, 2)) << "half a turn about the box centre";
    EXPECT_EQ(clipped.Pixel(1, 1), src.Pixel(1, 1));

    // Positions far beyond any surface never wrap back into it.
    PixelSurface far(4, 4);
    far.Clear(0);
    for (const double x : {4294967296.0, -4294967296.0, 1e300})
        RotatedBlit(far, src, 0, 0, 4, 4, x, 0, 4, 4, 0.0, false, 1.0f, kFiltered);
    RotatedBlit(far, src, 0, 0, 4, 4, 0, 0, 1e300, 4, 0.0, false, 1.0f, kBlendCopy);
    EXPECT_EQ(far.Pixel(0, 0), 0u);
    EXPECT_EQ(far.Pixel(3, 3), 0u);
}

TEST(RotatedBlit, CombinesByTheModeAndWeight)
{
    const PixelSurface src = Asymmetric(3, 3);
    PixelSurface rotated(3, 3);
    PixelSurface blitted(3, 3);
    rotated.Clear(0x80402010);
    blitted.Clear(0x80402010);
    RotatedBlit(rotated, src, 0, 0, 3, 3, 0, 0, 3, 3, 0.0, false, 0.3f,
                kBlendAdd | kBlendUseAlpha | kBlendFilter);
    Blit(blitted, src, 0, 0, {0, 0, 3, 3}, 0.3f, kBlendAdd | kBlendUseAlpha);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(rotated.Pixel(x, y), blitted.Pixel(x, y));

    PixelSurface none(3, 3);
    RotatedBlit(none, src, 0, 0, 3, 3, 0, 0, 3, 3, 1.0, false, 0.0f, kFiltered);
    EXPECT_EQ(none.Pixel(1, 1), 0u) << "weight 0 draws nothing";
}

} // namespace
} // namespace tpm
