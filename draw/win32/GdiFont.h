#pragma once

#include "draw/Font.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace tpm
{

// A system font on Windows: a GDI font drawn with DrawTextW, either straight onto a surface's device
// context or, for blended text, white on black into a scratch DIB whose brightness is the coverage.
class GdiFont final : public Font
{
  public:
    explicit GdiFont(HFONT font) : font_(font) {}
    ~GdiFont() override { DeleteObject(font_); }

    bool DrawNative(PixelSurface& dest, uint32_t colour, std::string_view text, const PixelBox& box,
                    int align, bool clip) override;
    bool RenderCoverage(std::string_view text, const PixelBox& box, int align, TextCoverage& out) override;

    // Whether the process runs under a Windows compatibility layer, whose direct text drawing onto
    // memory contexts is not to be trusted; looked up once per process.
    static bool UnderCompatibilityLayer();

  private:
    HFONT font_;
    std::mutex lock_; // the scratch context is per call, but GDI objects are shared
};

// The text as UTF-16: from UTF-8 when it holds a UTF-8 sequence, else from the system code page.
std::wstring WidenForGdi(std::string_view text);

} // namespace tpm
