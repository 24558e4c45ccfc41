#pragma once

#include "draw/PixelBox.h"

#include <cstdint>
#include <vector>

namespace tpm
{

// A 32-bit straight-alpha pixel surface (0xAARRGGBB, in memory B, G, R, A). Rows may be stored
// bottom-up, as Windows DIBs are; Row(y) always answers the row y from the top, so code that goes
// through Row() never needs to know the storage order.
class PixelSurface
{
  public:
    PixelSurface() = default;
    // Owns zeroed storage of width x height pixels.
    PixelSurface(int width, int height, bool bottomUp = false);
    // Borrows storage that outlives the surface; span is in pixels.
    PixelSurface(uint32_t* pixels, int width, int height, int span, bool bottomUp);
    virtual ~PixelSurface() = default;

    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;
    PixelSurface(PixelSurface&&) = default;
    PixelSurface& operator=(PixelSurface&&) = default;

    // A surface sharing the pixels of box within parent (clipped to it), so that drawing into it is
    // clipped to that box. Coordinates in the view are relative to the box's top left.
    static PixelSurface View(PixelSurface& parent, const PixelBox& box);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Span() const { return span_; }
    bool BottomUp() const { return bottomUp_; }
    bool Valid() const { return pixels_ != nullptr && width_ > 0 && height_ > 0; }
    PixelBox Bounds() const { return {0, 0, width_, height_}; }

    uint32_t* Row(int y) { return pixels_ + RowOffset(y); }
    const uint32_t* Row(int y) const { return pixels_ + RowOffset(y); }
    // Distance in pixels from one row to the next one down.
    long RowStep() const { return bottomUp_ ? -static_cast<long>(span_) : span_; }

    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint32_t v) { Row(y)[x] = v; }
    void Clear(uint32_t v);

    // The platform drawing context (an HDC on Windows system surfaces), null for memory surfaces.
    virtual void* NativeContext() const { return nullptr; }

  private:
    long RowOffset(int y) const { return static_cast<long>(bottomUp_ ? height_ - 1 - y : y) * span_; }

    std::vector<uint32_t> storage_;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int span_ = 0;
    bool bottomUp_ = false;
};

} // namespace tpm
