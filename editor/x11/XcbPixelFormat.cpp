#include "editor/x11/XcbPixelFormat.h"

namespace tpm
{

namespace
{

const xcb_visualtype_t* FindVisual(const xcb_screen_t& screen, xcb_visualid_t id)
{
    for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(&screen); d.rem > 0; xcb_depth_next(&d))
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem > 0;
             xcb_visualtype_next(&v))
            if (v.data->visual_id == id)
                return v.data;
    return nullptr;
}

uint32_t Scale8(uint32_t v, int bits)
{
    return bits >= 8 ? v << (bits - 8) : v >> (8 - bits);
}

uint32_t Expand8(uint32_t v, int bits)
{
    if (bits >= 8)
        return v >> (bits - 8);
    // Repeat the high bits so full scale stays 255.
    uint32_t out = v << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits)
        out |= out >> bits;
    return out & 0xFF;
}

} // namespace

XcbPixelFormat::Channel XcbPixelFormat::FromMask(uint32_t mask)
{
    Channel c;
    if (mask == 0)
        return c;
    while (!(mask & 1u))
    {
        mask >>= 1;
        ++c.shift;
    }
    while (mask & 1u)
    {
        mask >>= 1;
        ++c.bits;
    }
    return c;
}

XcbPixelFormat XcbPixelFormat::ForRootVisual(xcb_connection_t* conn, const xcb_screen_t& screen)
{
    XcbPixelFormat f;
    const xcb_visualtype_t* visual = FindVisual(screen, screen.root_visual);
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR)
        return f;
    const xcb_setup_t* setup = xcb_get_setup(conn);
    int bitsPerPixel = 0;
    int padBits = 32;
    for (xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0;
         xcb_format_next(&it))
        if (it.data->depth == screen.root_depth)
        {
            bitsPerPixel = it.data->bits_per_pixel;
            padBits = it.data->scanline_pad;
        }
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return f;
    f.red_ = FromMask(visual->red_mask);
    f.green_ = FromMask(visual->green_mask);
    f.blue_ = FromMask(visual->blue_mask);
    if (f.red_.bits == 0 || f.green_.bits == 0 || f.blue_.bits == 0)
        return f;
    f.bytesPerPixel_ = bitsPerPixel / 8;
    f.rowPad_ = padBits >= 8 ? padBits / 8 : 1;
    f.msbFirst_ = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    f.depth_ = screen.root_depth;
    f.visual_ = screen.root_visual;
    return f;
}

void XcbPixelFormat::FromArgb(const uint32_t* src, int count, uint8_t* dst) const
{
    const int n = bytesPerPixel_;
    for (int i = 0; i < count; ++i, dst += n)
    {
        const uint32_t p = src[i];
        const uint32_t v = Scale8(p >> 16 & 0xFF, red_.bits) << red_.shift |
                           Scale8(p >> 8 & 0xFF, green_.bits) << green_.shift |
                           Scale8(p & 0xFF, blue_.bits) << blue_.shift;
        for (int b = 0; b < n; ++b)
            dst[msbFirst_ ? n - 1 - b : b] = static_cast<uint8_t>(v >> (8 * b));
    }
}

void XcbPixelFormat::ToArgb(const uint8_t* src, int count, uint32_t* dst) const
{
    const int n = bytesPerPixel_;
    for (int i = 0; i < count; ++i, src += n)
    {
        uint32_t v = 0;
        for (int b = 0; b < n; ++b)
            v |= static_cast<uint32_t>(src[msbFirst_ ? n - 1 - b : b]) << (8 * b);
        auto channel = [v](const Channel& c) { return Expand8(v >> c.shift & ((1u << c.bits) - 1), c.bits); };
        dst[i] = 0xFF000000u | channel(red_) << 16 | channel(green_) << 8 | channel(blue_);
    }
}

} // namespace tpm
