#include "draw/PixelSurface.h"

#include <algorithm>

namespace tpm
{

PixelSurface::PixelSurface(int width, int height, bool bottomUp)
{
    if (width <= 0 || height <= 0)
        return;
    storage_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    pixels_ = storage_.data();
    width_ = width;
    height_ = height;
    span_ = width;
    bottomUp_ = bottomUp;
}

PixelSurface::PixelSurface(uint32_t* pixels, int width, int height, int span, bool bottomUp)
{
    if (!pixels || width <= 0 || height <= 0 || span < width)
        return;
    pixels_ = pixels;
    width_ = width;
    height_ = height;
    span_ = span;
    bottomUp_ = bottomUp;
}

PixelSurface PixelSurface::View(PixelSurface& parent, const PixelBox& box)
{
    const PixelBox clip = box.Intersect(parent.Bounds());
    if (clip.Empty() || clip.W() <= 0 || clip.H() <= 0)
        return {};
    // For bottom-up storage the lowest row in memory is the box's last row.
    uint32_t* base = parent.BottomUp() ? parent.Row(clip.bottom - 1) : parent.Row(clip.top);
    return PixelSurface(base + clip.left, clip.W(), clip.H(), parent.Span(), parent.BottomUp());
}

void PixelSurface::Clear(uint32_t v)
{
    for (int y = 0; y < height_; ++y)
        std::fill_n(Row(y), width_, v);
}

} // namespace tpm
