#include "draw/SystemSurface.h"

#include <windows.h>

namespace tpm
{

namespace
{

// A bottom-up 32-bit DIB section in its own memory device context, so GDI text and BitBlt to a window
// work on the same pixels the library draws.
class DibSurface final : public PixelSurface
{
  public:
    DibSurface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, uint32_t* bits, int width, int height)
        : PixelSurface(bits, width, height, width, true), dc_(dc), bitmap_(bitmap), previous_(previous)
    {
    }
    ~DibSurface() override
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void* NativeContext() const override { return dc_; }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

} // namespace

std::unique_ptr<PixelSurface> CreateSystemSurface(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: rows stored bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
    {
        if (bitmap)
            DeleteObject(bitmap);
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    return std::make_unique<DibSurface>(dc, bitmap, previous, static_cast<uint32_t*>(bits), width, height);
}

} // namespace tpm
