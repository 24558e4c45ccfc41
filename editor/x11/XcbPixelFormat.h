#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>

namespace tpm
{

// How a TrueColor visual of the server stores a pixel in a ZPixmap image: bytes per pixel, byte order
// and channel masks. Converts our 0xAARRGGBB pixels to and from it.
class XcbPixelFormat
{
  public:
    // The format of the screen's root visual; Valid() is false for visuals we cannot write (palettes,
    // fewer than 15 bits).
    static XcbPixelFormat ForRootVisual(xcb_connection_t* conn, const xcb_screen_t& screen);

    bool Valid() const { return bytesPerPixel_ > 0; }
    int BytesPerPixel() const { return bytesPerPixel_; }
    // Bytes of one image row of `width` pixels, padded as the server expects.
    int RowBytes(int width) const { return (width * bytesPerPixel_ + rowPad_ - 1) / rowPad_ * rowPad_; }
    uint8_t Depth() const { return depth_; }
    xcb_visualid_t Visual() const { return visual_; }

    void FromArgb(const uint32_t* src, int count, uint8_t* dst) const;
    void ToArgb(const uint8_t* src, int count, uint32_t* dst) const;

  private:
    struct Channel
    {
        int shift = 0; // of the mask's lowest bit
        int bits = 0;
    };
    static Channel FromMask(uint32_t mask);

    int bytesPerPixel_ = 0;
    int rowPad_ = 4;
    bool msbFirst_ = false;
    uint8_t depth_ = 0;
    xcb_visualid_t visual_ = 0;
    Channel red_, green_, blue_;
};

} // namespace tpm
