// The control list, what the editor takes over from the plug-in, the redraw cycle and the drawing
// operations.
#include "editor/IEditorWindow.h"

#include "draw/DrawText.h"
#include "draw/IBitmapCache.h"
#include "draw/IFontCache.h"
#include "draw/Raster.h"
#include "draw/SystemSurface.h"
#include "editor/IControl.h"
#include "editor/controls/IImageControl.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

IEditorWindow::IEditorWindow(IEditorController& owner, int w, int h, int rate, WindowLayerFactory factory)
    : controller(owner), width(w), height(h), frameRate(rate > 0 ? rate : kDefaultFrameRate),
      layerFactory(factory)
{
    controls.resize(kMaxControls);
}

IEditorWindow::~IEditorWindow()
{
    // The binding destroys the editor when the plug-in goes, so nothing may be sent to it any more: the
    // window goes without the pending end-edit.
    DropWindow();
    for (int i = ControlCount() - 1; i >= 0; --i)
        controls[static_cast<size_t>(i)].reset();
}

int IEditorWindow::AttachControl(std::unique_ptr<IControl> control)
{
    const int n = ControlCount();
    if (!control || n >= kMaxControls)
        return -1;
    controls[static_cast<size_t>(n)] = std::move(control);
    controlCount.store(n + 1, std::memory_order_release);
    return n;
}

int IEditorWindow::AttachBackground(int resourceId, const char* name)
{
    const IBitmapRef bitmap = LoadBitmap(resourceId, name, 1);
    auto background = std::make_unique<IImageControl>(*this, IBox{0, 0, bitmap.W, bitmap.H}, bitmap);
    background->SetBlend(IBlend{IBlend::kCopy, 1.0f});
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

IBitmapRef IEditorWindow::LoadBitmap(int resourceId, const char* name, int frames)
{
    return tpm::LoadBitmap(resourceId, name, frames);
}

IControl* IEditorWindow::GetControl(int index) const
{
    return index >= 0 && index < ControlCount() ? controls[static_cast<size_t>(index)].get() : nullptr;
}

void IEditorWindow::ShowPluginState()
{
    controller.ApplyWaitingChanges();
    const EditorDisplayState state = controller.DisplayState();
    const uint64_t hiddenChanged = state.hiddenParams ^ shownHidden;
    shownHidden = state.hiddenParams;
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
    {
        IControl& c = *controls[static_cast<size_t>(i)];
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

void IEditorWindow::MarkAllDirty()
{
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
        controls[static_cast<size_t>(i)]->MarkDirty(false);
}

void IEditorWindow::CreateSurface()
{
    if (!surface)
        surface = CreateSystemSurface(Width(), Height());
}

int IEditorWindow::ToPhysical(double v) const
{
    return static_cast<int>(std::lround(v * scale));
}

IBox IEditorWindow::ToPhysical(const IBox& box) const
{
    return {ToPhysical(box.left), ToPhysical(box.top), ToPhysical(box.right), ToPhysical(box.bottom)};
}

int IEditorWindow::ToLogical(int v) const
{
    return static_cast<int>(std::floor(v / scale));
}

IBox IEditorWindow::ToLogical(const IBox& box) const
{
    return {ToLogical(box.left), ToLogical(box.top), static_cast<int>(std::ceil(box.right / scale)),
            static_cast<int>(std::ceil(box.bottom / scale))};
}

void IEditorWindow::SetScale(double requested)
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
        layer->Redraw(IBox{0, 0, Width(), Height()});
    }
}

void IEditorWindow::SetResizeRequest(IResizeRequest* request)
{
    resizeRequest = request;
    grip.End();
    MarkAllDirty();
}

bool IEditorWindow::CollectDirtyRect(IBox& box) const
{
    box = {};
    bool any = false;
    const int n = ControlCount();
    for (int i = 0; i < n; ++i)
    {
        const IControl& c = *controls[static_cast<size_t>(i)];
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
bool Overlaps(const IBox& a, const IBox& b)
{
    return !a.Empty() && !b.Empty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}
} // namespace

void IEditorWindow::DrawRegion(const IBox& box)
{
    const int n = ControlCount();
    if (n == 0)
        return;
    CreateSurface();
    drawRegion = box.Intersect(IBox{0, 0, width, height});
    physicalRegion = ToPhysical(drawRegion).Intersect(IBox{0, 0, Width(), Height()});
    for (int i = 0; i < n; ++i)
    {
        IControl& c = *controls[static_cast<size_t>(i)];
        const uint32_t stamp = c.DirtyStamp();
        if (surface && !c.IsHidden() && Overlaps(c.Rect(), drawRegion))
            c.Draw(*this);
        c.MarkClean(stamp);
    }
    const IBox gripBox = ResizeGrip::Box(width, height);
    if (surface && GripShown() && Overlaps(gripBox, drawRegion))
        ResizeGrip::Draw(*this, gripBox);
    if (layer && surface)
        layer->Present(*surface, physicalRegion);
}

ISurface IEditorWindow::RegionView() const
{
    return ISurface::View(*surface, physicalRegion);
}

bool IEditorWindow::DrawBitmapPart(const IBitmapRef& bitmap, const IBox& destBox, int srcX, int srcY,
                                   const IBlend& blend)
{
    const std::shared_ptr<const ISurface> pixels = bitmap.SurfaceAt(scale);
    if (!surface || !pixels)
        return false;
    const IBox dest = ToPhysical(destBox);
    const IBox clip = dest.Intersect(physicalRegion);
    if (clip.Empty())
        return true;
    const int sx = ToPhysical(srcX) + clip.left - dest.left;
    const int sy = ToPhysical(srcY) + clip.top - dest.top;
    // Rounding may make the box a pixel larger than the part of the scaled picture it shows: never
    // reach into the next frame.
    const int right = std::min(sx + clip.W(), ToPhysical(srcX + destBox.W()));
    const int bottom = std::min(sy + clip.H(), ToPhysical(srcY + destBox.H()));
    Blit(*surface, *pixels, clip.left, clip.top, IBox{sx, sy, right, bottom}, blend.weight, blend.Mode());
    return true;
}

bool IEditorWindow::DrawBitmapFrame(const IBitmapRef& bitmap, const IBox& destBox, int frame,
                                    const IBlend& blend, bool vertical)
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

bool IEditorWindow::DrawRotatedBitmap(const IBitmapRef& bitmap, int cx, int cy, double angle,
                                      const IBlend& blend, double srcX, double srcY)
{
    const std::shared_ptr<const ISurface> pixels = bitmap.SurfaceAt(scale);
    if (!surface || !pixels)
        return false;
    ISurface view = RegionView();
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

bool IEditorWindow::FillRect(uint32_t colour, const IBox& box, const IBlend& blend)
{
    if (!surface)
        return false;
    const IBox clip = ToPhysical(box).Intersect(physicalRegion);
    if (!clip.Empty())
        tpm::FillRect(*surface, clip.left, clip.top, clip.W(), clip.H(), colour, blend.weight, blend.Mode());
    return true;
}

bool IEditorWindow::DrawText(ITextStyle& style, std::string_view text, const IBox& box)
{
    if (text.empty())
        return true;
    if (!surface)
        return false;
    IFont* font = IFontCache::Instance().ForStyle(style, scale);
    if (!font)
        return false;
    ISurface view = RegionView();
    if (!view.Valid())
        return true;
    const int align = style.align == 0   ? kTextAlignLeft
                      : style.align == 1 ? kTextAlignCentre
                                         : kTextAlignRight;
    const uint32_t colour = style.colour.Packed();
    const int flags = align | kTextNoClip | (style.colour.A < 255 ? kTextUseAlpha : 0);
    const IBox physical = ToPhysical(box);
    const IBox local{physical.left - physicalRegion.left, physical.top - physicalRegion.top,
                     physical.right - physicalRegion.left, physical.bottom - physicalRegion.top};
    return tpm::DrawText(view, *font, colour, text, local, flags);
}

} // namespace tpm
