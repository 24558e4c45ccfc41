#include "tools/preview/PngWriter.h"

#include "tools/hostkit/HostPlatform.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace tpm
{

namespace
{

// Kept free of objects with destructors so libpng's error jump skips nothing.
bool WriteRows(FILE* file, png_structp png, png_infop info, int width, int height, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool WritePng(const PixelSurface& surface, const std::string& path)
{
    if (!surface.Valid())
        return false;
    const int w = surface.Width();
    const int h = surface.Height();
    std::vector<png_byte> rgb(static_cast<size_t>(w) * h * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
    {
        png_bytep row = rgb.data() + static_cast<size_t>(y) * w * 3;
        rows[static_cast<size_t>(y)] = row;
        const uint32_t* src = surface.Row(y);
        for (int x = 0; x < w; ++x)
        {
            row[x * 3 + 0] = static_cast<png_byte>(src[x] >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(src[x] >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(src[x]);
        }
    }

    FILE* file = OpenSystemFile(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && WriteRows(file, png, info, w, h, rows.data());
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace tpm
