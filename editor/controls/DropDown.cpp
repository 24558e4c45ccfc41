#include "editor/controls/DropDown.h"

#include "editor/EditorWindow.h"
#include "editor/controls/DropDownChild.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

namespace
{
int FrameHeight(const BitmapRef& b)
{
    return static_cast<int>(std::round(static_cast<double>(b.H) / std::max(b.N, 1)));
}
} // namespace

DropDown::DropDown(EditorWindow& owner, int param, int x, int y, const BitmapRef& closedLook,
                   const BitmapRef& listPicture, int listColumns, int listPlacement)
    : Control(owner, PixelBox{x, y - 1, x + closedLook.W, y + FrameHeight(closedLook) + 1}, param),
      bitmap(closedLook), listBitmap(listPicture), columns(std::max(listColumns, 1)), placement(listPlacement)
{
}

void DropDown::HideList()
{
    if (child)
        child->SetHidden(true);
    listShown = false;
}

PixelBox DropDown::ListBox() const
{
    const int w = listBitmap.W;
    const int h = listBitmap.H;
    int x = rect.left + static_cast<int>(std::round((bitmap.W - w) * 0.5));
    int y = rect.bottom - 1;
    switch (placement)
    {
    case kBelowLeft:
        x = rect.left;
        break;
    case kBelowRight:
        x = rect.right - w;
        break;
    case kAboveLeft:
        x = rect.left;
        y = rect.top - h + 1;
        break;
    case kAboveRight:
        x = rect.right - w;
        y = rect.top - h + 1;
        break;
    default:
        break;
    }
    return {x, y, x + w, y + h};
}

void DropDown::OnMouseDown(int, int, const MouseMod& mod)
{
    if (mod.R)
    {
        PromptForValue();
        if (child)
        {
            HideList();
            MarkDirty(true);
            return;
        }
        MarkDirty(true);
        return;
    }
    if (listShown)
    {
        HideList();
        MarkDirty(true);
        return;
    }
    listShown = true;
    if (child)
        child->SetHidden(false);
    else
    {
        auto list = std::make_unique<DropDownChild>(editor, ListBox(), listBitmap, *this, columns);
        DropDownChild* created = list.get();
        if (editor.AttachControl(std::move(list)) >= 0)
            child = created;
        else
            listShown = false; // no room for the list: stay closed rather than point at nothing
    }
    MarkDirty(true);
}

bool DropDown::Draw(EditorWindow& e)
{
    const int n = std::max(bitmap.N, 1);
    const double v = Value();
    const int frame = std::min(n, static_cast<int>(std::round((n - 1) * v)) + 1);
    if (child && v != lastValue)
    {
        // The list wrote a new choice (or the plug-in sent one): send it on and close the list.
        SetRedrawPending();
        MarkDirty(true);
        HideList();
    }
    lastValue = Value();
    const PixelBox box{rect.left, rect.top + 1, rect.left + bitmap.W, rect.top + FrameHeight(bitmap)};
    return e.DrawBitmapFrame(bitmap, box, std::max(frame, 1), blend, true);
}

} // namespace tpm
