#include "editor/controls/IButton.h"

#include "editor/IEditorWindow.h"

#include <algorithm>

namespace tpm
{

IButton::IButton(IEditorWindow& owner, int param, int x, int y, const IBitmapRef& picture)
    : IControl(owner, IBox{x, y, x + picture.W, y + picture.H / std::max(picture.N, 1)}, param),
      bitmap(picture)
{
}

void IButton::OnMouseDown(int, int, const IMouseMod& mod)
{
    // A right press sends the unchanged value and opens no entry field.
    if (!mod.R)
        SetValue(Value() <= 0.5 ? 1.0 : 0.0);
    MarkDirty(true);
}

bool IButton::Draw(IEditorWindow& e)
{
    if (Value() <= 0.5)
        return true;
    return e.DrawBitmapFrame(bitmap, rect, 1, IBlend{}, true);
}

} // namespace tpm
