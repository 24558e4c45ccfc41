// PNG decoding of every colour type the editor could be given, made here with libpng, and of garbage.
#include "draw/PngDecoder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

namespace tpm
{
namespace
{

struct PngPicture
{
    int width;
    int height;
    int colourType;
    int depth;
    std::vector<uint8_t> pixels; // packed rows as libpng expects them
    std::vector<png_color> palette{};
    std::vector<uint8_t> paletteAlpha{};
    bool interlaced = false;
};

PngPicture Picture(int width, int height, int colourType, int depth, std::vector<uint8_t> pixels)
{
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = colourType;
    picture.depth = depth;
    picture.pixels = std::move(pixels);
    return picture;
}

void AppendToVector(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

bool WriteInto(png_structp png, png_infop info, const PngPicture& picture, std::vector<uint8_t>& out,
               std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, picture.width, picture.height, picture.depth, picture.colourType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()),
                     nullptr);
    png_write_info(png, info);
    if (picture.depth == 16)
        png_set_swap(png); // rows below hold 16-bit samples in machine order
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

std::vector<uint8_t> Encode(PngPicture picture)
{
    const size_t rowBytes = picture.pixels.size() / picture.height;
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height; ++y)
        rows.push_back(picture.pixels.data() + y * rowBytes);
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok = WriteInto(png, info, picture, out, rows);
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(ok);
    return out;
}

std::unique_ptr<PixelSurface> Decode(const std::vector<uint8_t>& bytes)
{
    return DecodePng(bytes.data(), bytes.size());
}

std::vector<uint8_t> Bytes16(std::initializer_list<uint16_t> values)
{
    std::vector<uint8_t> out;
    for (uint16_t v : values)
    {
        const uint16_t native = v;
        const auto* p = reinterpret_cast<const uint8_t*>(&native);
        out.insert(out.end(), p, p + 2);
    }
    return out;
}

TEST(DecodePng, RgbaKeepsStraightAlphaInArgbOrder)
{
    auto s = Decode(Encode(Picture(2, 1, PNG_COLOR_TYPE_RGBA, 8, {10, 20, 30, 40, 200, 100, 50, 255})));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Width(), 2);
    EXPECT_EQ(s->Height(), 1);
    EXPECT_FALSE(s->BottomUp());
    EXPECT_EQ(s->Pixel(0, 0), 0x280A141Eu);
    EXPECT_EQ(s->Pixel(1, 0), 0xFFC86432u);
}

TEST(DecodePng, PaletteWithTransparency)
{
    PngPicture picture = Picture(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2});
    picture.palette = {{255, 0, 0}, {0, 128, 0}, {1, 2, 3}};
    picture.paletteAlpha = {0, 77}; // the third entry has no alpha entry: opaque
    auto s = Decode(Encode(picture));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(s->Pixel(1, 0), 0x4D008000u);
    EXPECT_EQ(s->Pixel(2, 0), 0xFF010203u);

    PngPicture packed = Picture(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0b00011011});
    packed.palette = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};
    auto p = Decode(Encode(packed));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Pixel(0, 0), 0xFF0A0A0Au);
    EXPECT_EQ(p->Pixel(3, 0), 0xFF282828u);
}

TEST(DecodePng, GreyGreyAlphaAndLowDepthGrey)
{
    auto grey = Decode(Encode(Picture(2, 2, PNG_COLOR_TYPE_GRAY, 8, {0, 90, 180, 255})));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->Pixel(1, 0), 0xFF5A5A5Au);
    EXPECT_EQ(grey->Pixel(0, 1), 0xFFB4B4B4u);

    auto greyAlpha = Decode(Encode(Picture(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {120, 33})));
    ASSERT_TRUE(greyAlpha);
    EXPECT_EQ(greyAlpha->Pixel(0, 0), 0x21787878u);

    auto bits = Decode(Encode(Picture(8, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000})));
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits->Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(bits->Pixel(1, 0), 0xFF000000u);
}

TEST(DecodePng, SixteenBitSamplesScaleToEightBits)
{
    auto rgb = Decode(Encode(Picture(1, 1, PNG_COLOR_TYPE_RGB, 16, Bytes16({0xFFFF, 0x0000, 0x8080}))));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->Pixel(0, 0), 0xFFFF0080u);

    auto rgba =
        Decode(Encode(Picture(1, 1, PNG_COLOR_TYPE_RGBA, 16, Bytes16({0x0000, 0xFFFF, 0x0000, 0x8080}))));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->Pixel(0, 0), 0x8000FF00u);

    auto greyAlpha = Decode(Encode(Picture(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, Bytes16({0x8080, 0xFFFF}))));
    ASSERT_TRUE(greyAlpha);
    EXPECT_EQ(greyAlpha->Pixel(0, 0), 0xFF808080u);
}

TEST(DecodePng, InterlacedImagesComeOutWhole)
{
    PngPicture picture = Picture(3, 3, PNG_COLOR_TYPE_GRAY, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    picture.interlaced = true;
    auto s = Decode(Encode(picture));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Pixel(2, 2), 0xFF090909u);
    EXPECT_EQ(s->Pixel(1, 0), 0xFF020202u);
}

TEST(DecodePng, DataThatIsNotAWholePngGivesNone)
{
    const std::vector<uint8_t> good =
        Encode(Picture(2, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(12, 7)));
    ASSERT_TRUE(Decode(good));

    EXPECT_FALSE(DecodePng(nullptr, 0));
    EXPECT_FALSE(Decode({}));
    EXPECT_FALSE(Decode({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}));
    EXPECT_FALSE(Decode(std::vector<uint8_t>(good.begin(), good.begin() + 8))) << "signature only";
    EXPECT_FALSE(Decode(std::vector<uint8_t>(good.begin(), good.end() - 20))) << "truncated";

    std::vector<uint8_t> garbage(good.begin(), good.begin() + 8);
    for (int i = 0; i < 200; ++i)
        garbage.push_back(static_cast<uint8_t>(i * 73 + 5));
    EXPECT_FALSE(Decode(garbage));

    // A header claiming a picture far larger than any editor picture is refused before allocating.
    std::vector<uint8_t> huge = good;
    huge[16] = 0x00; // IHDR width = 0x00100000, height as before, with a correct CRC
    huge[17] = 0x10;
    const uLong crc = crc32(0, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(Decode(huge));
}

TEST(DecodePng, HeaderSizeWithoutDecodingAgreesWithTheDecoder)
{
    const std::vector<uint8_t> good =
        Encode(Picture(3, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(18, 7)));
    int w = 0;
    int h = 0;
    ASSERT_TRUE(ReadPngSize(good.data(), good.size(), w, h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_FALSE(ReadPngSize(good.data(), 23, w, h)) << "cut inside the header";
    std::vector<uint8_t> notPng = good;
    notPng[1] = 'Q';
    EXPECT_FALSE(ReadPngSize(notPng.data(), notPng.size(), w, h));
    std::vector<uint8_t> huge = good;
    huge[17] = 0x10; // width 0x00100000: more than the decoder accepts
    EXPECT_FALSE(ReadPngSize(huge.data(), huge.size(), w, h));
    std::vector<uint8_t> empty = good;
    std::fill(empty.begin() + 20, empty.begin() + 24, 0); // height 0
    EXPECT_FALSE(ReadPngSize(empty.data(), empty.size(), w, h));
}

} // namespace
} // namespace tpm
