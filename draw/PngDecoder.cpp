#include "draw/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace tpm
{

namespace
{

// Pictures larger than this are refused rather than allocated: no editor picture comes near it, and
// it keeps hostile dimensions in a header from asking for gigabytes.
constexpr png_uint_32 kMaxSide = 8192;

struct MemoryReader
{
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->pos)
    {
        png_error(png, "truncated");
        return;
    }
    std::memcpy(out, reader->data + reader->pos, length);
    reader->pos += length;
}

// Bad data is an expected input (a missing or damaged resource): fail quietly, without console noise.
void IgnoreWarning(png_structp, png_const_charp) {}
[[noreturn]] void QuietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Everything owned lives in the caller's frame, so the jump back from libpng on an error skips no
// destructor. Answers whether the whole image was decoded into out.
bool DecodeInto(png_structp png, png_infop info, MemoryReader& reader, std::unique_ptr<PixelSurface>& out,
                std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_set_read_fn(png, &reader, ReadFromMemory);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);

    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER); // no-op when alpha is already there
    png_set_bgr(png);                            // memory order B, G, R, A
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4)
        return false;

    out = std::make_unique<PixelSurface>(static_cast<int>(width), static_cast<int>(height));
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(out->Row(static_cast<int>(y)));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

uint32_t BigEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

} // namespace

bool ReadPngSize(const uint8_t* data, size_t size, int& width, int& height)
{
    // Signature, then the header chunk: length 13, type, width, height.
    constexpr size_t kHeaderEnd = 24;
    if (!data || size < kHeaderEnd || png_sig_cmp(data, 0, 8) != 0 || BigEndian32(data + 8) != 13 ||
        std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    const uint32_t w = BigEndian32(data + 16);
    const uint32_t h = BigEndian32(data + 20);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

std::unique_ptr<PixelSurface> DecodePng(const uint8_t* data, size_t size)
{
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return nullptr;

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, IgnoreWarning);
    if (!png)
        return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }

    MemoryReader reader{data, size, 0};
    std::unique_ptr<PixelSurface> surface;
    std::vector<png_bytep> rows;
    const bool ok = DecodeInto(png, info, reader, surface, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok || !surface || !surface->Valid())
        return nullptr;
    return surface;
}

} // namespace tpm
