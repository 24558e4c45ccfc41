#pragma once

#include "draw/IBitmapRef.h"
#include "draw/IBlend.h"
#include "draw/IBox.h"
#include "draw/ISurface.h"
#include "draw/ITextStyle.h"

#include <string>

namespace tpm
{

// Lays every editor picture out at its place on the background, the way the editor's controls draw
// them (knobs turned to sample values, one frame of each strip, the lit button captions, an open
// drop-down list, value texts and LFO markers), so a person can judge the look without a host.
class EditorPreview
{
  public:
    static constexpr int kWidth = 550;
    static constexpr int kHeight = 363;

    // Draws the whole preview into dest; false when a picture is missing or a text could not be drawn.
    bool Compose(ISurface& dest);

  private:
    void DrawFrame(const IBitmapRef& bitmap, const IBox& box, int frame, bool vertical, const IBlend& blend);
    void DrawRotated(const IBitmapRef& bitmap, int cx, int cy, double value);
    void DrawKnob(const IBitmapRef& bitmap, int cx, int cy, int width, double value, const char* text);
    void DrawStrip(const IBitmapRef& bitmap, int cx, int cy, int width, double value, const char* text);
    void DrawButton(const IBitmapRef& bitmap, int x, int y);
    void DrawDropDown(const IBitmapRef& closed, int x, int y, double value);
    void DrawMarker(int left, double position, bool blocked);
    void Text(ITextStyle& style, const std::string& text, const IBox& box);

    ISurface* dest_ = nullptr;
    bool ok_ = true;
    ITextStyle knobStyle_{"Arial", 15, IRgba(200, 255, 255, 255), 0, ITextStyle::kAlignCentre};
    ITextStyle bandStyle_{"Arial", 15, IRgba(200, 255, 255, 255), 0, ITextStyle::kAlignCentre};
    ITextStyle versionStyle_{"Verdana", 13, IRgba(100, 255, 255, 255), 0, ITextStyle::kAlignLeft};
};

} // namespace tpm
