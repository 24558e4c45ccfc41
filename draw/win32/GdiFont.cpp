#include "draw/win32/GdiFont.h"

#include "draw/TextEncoding.h"
#include "draw/TextStyle.h"

#include <algorithm>
#include <vector>

namespace tpm
{

namespace
{

UINT AlignFlags(int align, bool clip = false)
{
    // Top-aligned; lines break only at line ends in the text.
    const UINT horizontal = align == 0 ? DT_LEFT : align == 1 ? DT_CENTER : DT_RIGHT;
    return horizontal | DT_TOP | DT_NOPREFIX | (clip ? 0u : static_cast<UINT>(DT_NOCLIP));
}

BYTE QualityFor(int quality)
{
    switch (quality)
    {
    case TextStyle::kQualityNoAntialias:
        return NONANTIALIASED_QUALITY;
    case TextStyle::kQualityAntialias:
        return ANTIALIASED_QUALITY;
    case TextStyle::kQualityClearType:
        return CLEARTYPE_QUALITY;
    default:
        return DEFAULT_QUALITY;
    }
}

} // namespace

std::wstring WidenForGdi(std::string_view text)
{
    const UINT codePage = ContainsUtf8Sequence(text) ? CP_UTF8 : CP_ACP;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

bool GdiFont::UnderCompatibilityLayer()
{
    static const bool underLayer = [] {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }();
    return underLayer;
}

std::unique_ptr<Font> Font::Create(const char* face, int size, int orientation, int style, int quality)
{
    if (size <= 0)
        return nullptr;
    HFONT font = CreateFontA(
        size, 0, orientation * 10, orientation * 10, (style & TextStyle::kBold) ? FW_BOLD : FW_NORMAL,
        (style & TextStyle::kItalic) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, QualityFor(quality), DEFAULT_PITCH, face ? face : "");
    if (!font)
        return nullptr;
    return std::make_unique<GdiFont>(font);
}

bool GdiFont::DrawNative(PixelSurface& dest, uint32_t colour, std::string_view text, const PixelBox& box,
                         int align, bool clip)
{
    HDC dc = static_cast<HDC>(dest.NativeContext());
    if (!dc || UnderCompatibilityLayer())
        return false;
    std::wstring wide = WidenForGdi(text);
    std::lock_guard guard(lock_);
    HGDIOBJ previous = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF));
    RECT r{box.left, box.top, box.right, box.bottom};
    DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &r, AlignFlags(align, clip));
    SelectObject(dc, previous);
    GdiFlush(); // the library reads the same pixels next
    return true;
}

bool GdiFont::RenderCoverage(std::string_view text, const PixelBox& box, int align, TextCoverage& out)
{
    std::wstring wide = WidenForGdi(text);
    std::lock_guard guard(lock_);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    HGDIOBJ previousFont = SelectObject(dc, font_);

    // Measure, then place the text's own rectangle in the box as the alignment says.
    RECT measured{0, 0, std::max(box.W(), 1), 0};
    DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &measured, AlignFlags(align) | DT_CALCRECT);
    const int w = std::max(1, static_cast<int>(measured.right - measured.left));
    const int h = std::max(1, static_cast<int>(measured.bottom - measured.top));
    int left = box.left;
    if (align == 1)
        left = box.left + (box.W() - w) / 2;
    else if (align >= 2)
        left = box.right - w;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down scratch
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
    {
        if (bitmap)
            DeleteObject(bitmap);
        SelectObject(dc, previousFont);
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    std::fill_n(static_cast<uint32_t*>(bits), static_cast<size_t>(w) * h, 0u);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT r{0, 0, w, h};
    DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &r, AlignFlags(align));
    GdiFlush();

    // White on black: brightness is coverage; ClearType's coloured fringes average out.
    out.box = {left, box.top, left + w, box.top + h};
    out.values.resize(static_cast<size_t>(w) * h);
    const auto* px = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < out.values.size(); ++i)
    {
        const uint32_t p = px[i];
        out.values[i] = static_cast<uint8_t>(((p >> 16 & 0xFF) + 2 * (p >> 8 & 0xFF) + (p & 0xFF) + 2) / 4);
    }

    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    SelectObject(dc, previousFont);
    DeleteDC(dc);
    return true;
}

} // namespace tpm
