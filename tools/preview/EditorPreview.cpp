#include "tools/preview/EditorPreview.h"

#include "draw/DrawText.h"
#include "draw/IBitmapCache.h"
#include "draw/IFontCache.h"
#include "draw/Raster.h"

#include <cmath>
#include <numbers>

namespace tpm
{

namespace
{

constexpr int kTextGap = 5;
constexpr int kTextSize = 15;

int RoundHalfAway(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

bool EditorPreview::Compose(ISurface& dest)
{
    dest_ = &dest;
    ok_ = true;

    const IBitmapRef bg = LoadBitmap(100, "img/bg.png", 1);
    const IBitmapRef knob = LoadBitmap(101, "../img/knob.png", 1);
    const IBitmapRef knob2 = LoadBitmap(102, "../img/knob2.png", 1);
    const IBitmapRef tgClosed = LoadBitmap(107, "img/lfo_tg.png", 5);
    const IBitmapRef tgList = LoadBitmap(108, "img/lfo_tg_.png", 1);
    const IBitmapRef sync = LoadBitmap(109, "../img/rate_sync.png", 1);
    const IBitmapRef lfoWave = LoadBitmap(104, "../img/lfo_wave.png", 7);
    const IBitmapRef wave = LoadBitmap(103, "../img/wave.png", 8);
    const IBitmapRef beats = LoadBitmap(106, "../img/btn3.png", 1);
    const IBitmapRef play = LoadBitmap(105, "../img/btn.png", 1);
    const IBitmapRef hold = LoadBitmap(110, "../img/btn2.png", 1);
    for (const IBitmapRef* b :
         {&bg, &knob, &knob2, &tgClosed, &tgList, &sync, &lfoWave, &wave, &beats, &play, &hold})
        if (!b->surface)
            return false;

    // The background goes down opaque, as the editor's first control.
    DrawFrame(bg, {0, 0, bg.W, bg.H}, 1, false, IBlend{IBlend::kCopy, 1.0f});

    // LFO markers: the first mid-swing, the second blocked by a shared target.
    DrawMarker(22, 0.62, false);
    DrawMarker(326, 0.0, true);
    Text(versionStyle_, "v1.00", {45, 12, 95, 30});
    Text(bandStyle_, "THETA", {233, 298, 317, 313});

    // Upper row, knobs at several angles.
    DrawKnob(knob, 48, 129, 0, 0.31, "432.0 Hz");
    DrawKnob(knob, 122, 129, 0, 0.0, "6.00 Hz");
    DrawStrip(wave, 197, 129, 80, 4.0 / 7.0, "Golden Sine");
    DrawButton(beats, 235, 103);
    DrawButton(play, 241, 144);
    DrawKnob(knob, 352, 129, 60, 0.5, "1500 ms");
    DrawKnob(knob, 426, 129, 0, 1.0, "100 %");
    DrawKnob(knob, 501, 129, 0, 0.8, "80 %");

    // LFO 1: synced, driving Base Freq.
    DrawButton(sync, 183, 194);
    DrawDropDown(tgClosed, 84, 214, 0.25);
    DrawKnob(knob2, 45, 277, 0, 0.0, "0 %");
    DrawStrip(lfoWave, 97, 277, 60, 0.0, "Sine");
    DrawKnob(knob2, 149, 277, 0, 0.75, "75 %");
    DrawKnob(knob2, 201, 277, 0, 0.4, "1/4");

    // LFO 2: free running, its target list open on top of everything.
    DrawDropDown(tgClosed, 388, 214, 1.0);
    DrawKnob(knob2, 349, 277, 0, 0.25, "25 %");
    DrawStrip(lfoWave, 401, 277, 60, 3.0 / 6.0, "Saw Flip");
    DrawKnob(knob2, 453, 277, 0, 0.2, "20 %");
    DrawKnob(knob2, 505, 277, 60, 0.66, "2000 ms");
    DrawButton(hold, 235, 323);
    DrawFrame(tgList, {388, 231, 388 + tgList.W, 231 + tgList.H}, 1, true, IBlend{});
    return ok_;
}

void EditorPreview::DrawFrame(const IBitmapRef& bitmap, const IBox& box, int frame, bool vertical,
                              const IBlend& blend)
{
    int offset = 0;
    if (bitmap.N >= 2 && frame >= 2)
        offset = static_cast<int>(
            (vertical ? bitmap.H : bitmap.W) * (frame - 1) / static_cast<double>(bitmap.N) + 0.5);
    const int sx = vertical ? 0 : offset;
    const int sy = vertical ? offset : 0;
    Blit(*dest_, *bitmap.surface, box.left, box.top, {sx, sy, sx + box.W(), sy + box.H()}, blend.weight,
         blend.Mode());
}

void EditorPreview::DrawRotated(const IBitmapRef& bitmap, int cx, int cy, double value)
{
    const double range = 300.0 * std::numbers::pi / 360.0;
    const double angle = 2.0 * value * range - range;
    const double shift = -2.0 * std::fabs(value - 0.5);
    const int x = static_cast<int>(cx - bitmap.W / 2);
    const int y = static_cast<int>(cy - bitmap.H / 2);
    RotatedBlit(*dest_, *bitmap.surface, x, y, bitmap.W, bitmap.H, shift, shift, bitmap.W, bitmap.H, angle,
                false, 1.0f, IBlend{}.Mode() | kBlendFilter);
}

void EditorPreview::DrawKnob(const IBitmapRef& bitmap, int cx, int cy, int width, double value,
                             const char* text)
{
    const int hw = width ? width / 2 : RoundHalfAway(bitmap.W / static_cast<double>(bitmap.N) * 0.5);
    const int hh = RoundHalfAway(bitmap.H * 0.5);
    const IBox rect{cx - hw, cy - hh, cx + hw, cy + hh + kTextGap + kTextSize};
    Text(knobStyle_, text, {rect.left, rect.bottom - kTextSize, rect.right, rect.bottom});
    DrawRotated(bitmap, cx, cy, value);
}

void EditorPreview::DrawStrip(const IBitmapRef& bitmap, int cx, int cy, int width, double value,
                              const char* text)
{
    const double frameW = bitmap.W / static_cast<double>(bitmap.N);
    const int hw = width / 2;
    const int hh = RoundHalfAway(bitmap.H * 0.5);
    const IBox rect{cx - hw, cy - hh, cx + hw, cy + hh + kTextGap + kTextSize};
    Text(knobStyle_, text, {rect.left, rect.bottom - kTextSize, rect.right, rect.bottom});
    int frame = RoundHalfAway((bitmap.N - 1) * value) + 1;
    frame = frame < 1 ? 1 : frame > bitmap.N ? bitmap.N : frame;
    const IBox box{RoundHalfAway(cx - frameW * 0.5), rect.top, RoundHalfAway(cx + frameW * 0.5),
                   rect.bottom - kTextGap - kTextSize};
    DrawFrame(bitmap, box, frame, false, IBlend{});
}

void EditorPreview::DrawButton(const IBitmapRef& bitmap, int x, int y)
{
    DrawFrame(bitmap, {x, y, x + bitmap.W, y + bitmap.H / bitmap.N}, 1, true, IBlend{});
}

void EditorPreview::DrawDropDown(const IBitmapRef& closed, int x, int y, double value)
{
    const int frameH = RoundHalfAway(closed.H / static_cast<double>(closed.N));
    const IBox rect{x, y - 1, x + closed.W, y + frameH + 1};
    int frame = RoundHalfAway((closed.N - 1) * value) + 1;
    frame = frame > closed.N ? closed.N : frame;
    DrawFrame(closed, {rect.left, rect.top + 1, rect.left + closed.W, rect.top + frameH}, frame, true,
              IBlend{});
}

void EditorPreview::DrawMarker(int left, double position, bool blocked)
{
    const int x = RoundHalfAway(position * 195.0);
    if (blocked)
        FillRect(*dest_, left, 322, 6, 2, IRgba(200, 255, 0, 0).Packed(), 1.0f, IBlend{}.Mode());
    else
        FillRect(*dest_, left + x, 322, 6, 2, IRgba(150, 255, 255, 255).Packed(), 1.0f, IBlend{}.Mode());
}

void EditorPreview::Text(ITextStyle& style, const std::string& text, const IBox& box)
{
    IFont* font = IFontCache::Instance().ForStyle(style);
    if (!font)
    {
        ok_ = false;
        return;
    }
    const int flags = style.align | kTextNoClip | (style.colour.A < 255 ? kTextUseAlpha : 0);
    if (!DrawText(*dest_, *font, style.colour.Packed(), text, box, flags))
        ok_ = false;
}

} // namespace tpm
