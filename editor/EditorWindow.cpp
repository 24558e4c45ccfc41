// The control list, what the editor takes over from the plug-in, the redraw cycle and the drawing
// operations.
#include "editor/EditorWindow.h"

#include "draw/BitmapCache.h"
#include "draw/DrawText.h"
#include "draw/FontCache.h"
#include "draw/Raster.h"
#include "draw/SystemSurface.h"
#include "editor/Control.h"
#include "editor/controls/ImageControl.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

EditorWindow::EditorWindow(IEditorController& owner, int w, int h, int rate, WindowLayerFactory factory)
    : controller(owner), width(w), height(h), frameRate(rate > 0 ? rate : kDefaultFrameRate),
      layerFactory(factory)
{
    controls.resize(kMaxControls);
}

EditorWindow::~EditorWindow()
{
    // The binding destroys the editor when the plug-in goes, so nothing may be sent to it any more: the
    // window goes without the pending end-edit.
    DropWindow();
    for (int i = ControlCount() - 1; i >= 0; --i)
        controls[static_cast<size_t>(i)].reset();
}

int EditorWindow::AttachControl(std::unique_ptr<Control> control)
{
    const int n = ControlCount();
    if (!control || n >= kMaxControls)
        return -1;
    controls[static_cast<size_t>(n)] = std::move(control);
    controlCount.store(n + 1, std::memory_order_release);
    return n;
}

int EditorWindow::AttachBackground(int resourceId, const char* name)
{
    const BitmapRef bitmap = LoadBitmap(resourceId, name, 1);
    auto background = std::make_unique<ImageControl>(*this, PixelBox{0, 0, bitmap.W, bitmap.H}, bitmap);
    background->SetBlend(BlendMode{BlendMode::kCopy, 1.0f});
    // Index 0 lies under everything. Only while the editor is being built, before any other thread
    // can see the list, is shifting the others up safe.
    const int n = ControlCount();
    if (n >= kMaxControls)
        return -1;
    for (int i = n; i > 0; --i)
        controls[static_cast<size_t>(i)] = std::move(controls[static_cast<size_t>(i - 1)]);
    controls[0] = std::move(background);
    controlCount.store(n + 1, std::memory_order_release);
    return 0;
}

BitmapRef EditorWindow::LoadBitmap(int resourceId, const char* name, int frames)
{
    return tpm::LoadBitmap(resourceId, name, frames);
}

Control* EditorWindow::GetControl(int index) const
{
    return index >= 0 && index < ControlCount() ? controls[static_cast<size_t>(index)].get() : nullptr;
}

void EditorWindow::ShowPluginState()
{
    controller.ApplyWaitingChanges();
    const EditorDisplayState state = controller.DisplayState();
    const uint64_t hiddenChanged = state.hiddenParams ^ shownHidden;
    shownHidden = state.hiddenParams;
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
    {
        Control& c = *controls[static_cast<size_t>(i)];
        if (c.IsBound())
        {
            c.TakePluginValue(controller.NormalizedValue(c.ParamIdx()));
            const uint64_t bit = c.ParamIdx() < 64 ? uint64_t{1} << c.ParamIdx() : 0;
            if ((hiddenChanged & bit) != 0)
                c.SetHidden((state.hiddenParams & bit) != 0);
        }
        c.ShowDisplayState(state);
    }
}

void EditorWindow::MarkAllDirty()
{
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
        controls[static_cast<size_t>(i)]->MarkDirty(false);
}

void EditorWindow::CreateSurface()
{
    if (!surface)
        surface = CreateSystemSurface(Width(), Height());
}

int EditorWindow::ToPhysical(double v) const
{
    return static_cast<int>(std::lround(v * scale));
}

PixelBox EditorWindow::ToPhysical(const PixelBox& box) const
{
    return {ToPhysical(box.left), ToPhysical(box.top), ToPhysical(box.right), ToPhysical(box.bottom)};
}

int EditorWindow::ToLogical(int v) const
{
    return static_cast<int>(std::floor(v / scale));
}

PixelBox EditorWindow::ToLogical(const PixelBox& box) const
{
    return {ToLogical(box.left), ToLogical(box.top), static_cast<int>(std::ceil(box.right / scale)),
            static_cast<int>(std::ceil(box.bottom / scale))};
}

void EditorWindow::SetScale(double requested)
{
    const EditorSize size = EditorSizeAtScale(requested);
    if (size.scale == scale)
        return;
    // The entry field was placed and lettered for the old scale: it goes, its text not applied.
    if (entryControl && layer)
        layer->CloseEntryField();
    entryControl = nullptr;
    entryState = kEntryIdle;
    scale = size.scale;
    surface.reset();
    CreateSurface();
    MarkAllDirty();
    if (layer)
    {
        layer->Resize(Width(), Height());
        layer->Redraw(PixelBox{0, 0, Width(), Height()});
    }
}

void EditorWindow::SetResizeRequest(IResizeRequest* request)
{
    resizeRequest = request;
    grip.End();
    MarkAllDirty();
}

bool EditorWindow::CollectDirtyRect(PixelBox& box) const
{
    box = {};
    bool any = false;
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
    {
        const Control& c = *controls[static_cast<size_t>(i)];
        if (c.NeedsRedraw())
        {
            box = box.Union(c.Rect());
            any = true;
        }
    }
    return any;
}

namespace
{
bool Overlaps(const PixelBox& a, const PixelBox& b)
{
    return !a.Empty() && !b.Empty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}
} // namespace

void EditorWindow::DrawRegion(const PixelBox& box)
{
    const int n = ControlCount();
    if (n == 0)
        return;
    CreateSurface();
    drawRegion = box.Intersect(PixelBox{0, 0, width, height});
    physicalRegion = ToPhysical(drawRegion).Intersect(PixelBox{0, 0, Width(), Height()});
    for (int i = 0; i < n; ++i)
    {
        Control& c = *controls[static_cast<size_t>(i)];
        const uint32_t stamp = c.DirtyStamp();
        if (surface && !c.IsHidden() && Overlaps(c.Rect(), drawRegion))
            c.Draw(*this);
        c.MarkClean(stamp);
    }
    const PixelBox gripBox = ResizeGrip::Box(width, height);
    if (surface && GripShown() && Overlaps(gripBox, drawRegion))
        ResizeGrip::Draw(*this, gripBox);
    if (layer && surface)
        layer->Present(*surface, physicalRegion);
}

PixelSurface EditorWindow::RegionView() const
{
    return PixelSurface::View(*surface, physicalRegion);
}

bool EditorWindow::DrawBitmapPart(const BitmapRef& bitmap, const PixelBox& destBox, int srcX, int srcY,
                                  const BlendMode& blend)
{
    const std::shared_ptr<const PixelSurface> pixels = bitmap.SurfaceAt(scale);
    if (!surface || !pixels)
        return false;
    const PixelBox dest = ToPhysical(destBox);
    const PixelBox clip = dest.Intersect(physicalRegion);
    if (clip.Empty())
        return true;
    const int sx = ToPhysical(srcX) + clip.left - dest.left;
    const int sy = ToPhysical(srcY) + clip.top - dest.top;
    // Rounding may make the box a pixel larger than the part of the scaled picture it shows: never
    // reach into the next frame.
    const int right = std::min(sx + clip.W(), ToPhysical(srcX + destBox.W()));
    const int bottom = std::min(sy + clip.H(), ToPhysical(srcY + destBox.H()));
    Blit(*surface, *pixels, clip.left, clip.top, PixelBox{sx, sy, right, bottom}, blend.weight, blend.Mode());
    return true;
}

bool EditorWindow::DrawBitmapFrame(const BitmapRef& bitmap, const PixelBox& destBox, int frame,
                                   const BlendMode& blend, bool vertical)
{
    int offset = 0;
    if (bitmap.N >= 2 && frame >= 2)
    {
        const int size = vertical ? bitmap.H : bitmap.W;
        offset = static_cast<int>(static_cast<double>(size) * (frame - 1) / bitmap.N + 0.5);
    }
    return vertical ? DrawBitmapPart(bitmap, destBox, 0, offset, blend)
                    : DrawBitmapPart(bitmap, destBox, offset, 0, blend);
}

bool EditorWindow::DrawRotatedBitmap(const BitmapRef& bitmap, int cx, int cy, double angle,
                                     const BlendMode& blend, double srcX, double srcY)
{
    const std::shared_ptr<const PixelSurface> pixels = bitmap.SurfaceAt(scale);
    if (!surface || !pixels)
        return false;
    PixelSurface view = RegionView();
    if (!view.Valid())
        return true;
    // Half sizes in whole pixels; the subtraction in floating point, truncated.
    const int halfW = bitmap.W / 2;
    const int halfH = bitmap.H / 2;
    const int x = ToPhysical(static_cast<int>(cx - static_cast<double>(halfW))) - physicalRegion.left;
    const int y = ToPhysical(static_cast<int>(cy - static_cast<double>(halfH))) - physicalRegion.top;
    const int w = pixels->Width();
    const int h = pixels->Height();
    RotatedBlit(view, *pixels, x, y, w, h, srcX * scale, srcY * scale, w, h, angle, false, blend.weight,
                blend.Mode() | kBlendFilter);
    return true;
}

bool EditorWindow::FillRect(uint32_t colour, const PixelBox& box, const BlendMode& blend)
{
    if (!surface)
        return false;
    const PixelBox clip = ToPhysical(box).Intersect(physicalRegion);
    if (!clip.Empty())
        tpm::FillRect(*surface, clip.left, clip.top, clip.W(), clip.H(), colour, blend.weight, blend.Mode());
    return true;
}

bool EditorWindow::DrawText(TextStyle& style, std::string_view text, const PixelBox& box)
{
    if (text.empty())
        return true;
    if (!surface)
        return false;
    Font* font = FontCache::Instance().ForStyle(style, scale);
    if (!font)
        return false;
    PixelSurface view = RegionView();
    if (!view.Valid())
        return true;
    const int align = style.align == 0   ? kTextAlignLeft
                      : style.align == 1 ? kTextAlignCentre
                                         : kTextAlignRight;
    const uint32_t colour = style.colour.Packed();
    const int flags = align | kTextNoClip | (style.colour.A < 255 ? kTextUseAlpha : 0);
    const PixelBox physical = ToPhysical(box);
    const PixelBox local{physical.left - physicalRegion.left, physical.top - physicalRegion.top,
                         physical.right - physicalRegion.left, physical.bottom - physicalRegion.top};
    return tpm::DrawText(view, *font, colour, text, local, flags);
}

} // namespace tpm
