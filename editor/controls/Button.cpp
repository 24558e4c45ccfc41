#include "editor/controls/Button.h"

#include "editor/EditorWindow.h"

#include <algorithm>

namespace tpm
{

Button::Button(EditorWindow& owner, int param, int x, int y, const BitmapRef& picture)
    : Control(owner, PixelBox{x, y, x + picture.W, y + picture.H / std::max(picture.N, 1)}, param),
      bitmap(picture)
{
}

void Button::OnMouseDown(int, int, const MouseMod& mod)
{
    // A right press sends the unchanged value and opens no entry field.
    if (!mod.R)
        SetValue(Value() <= 0.5 ? 1.0 : 0.0);
    MarkDirty(true);
}

bool Button::Draw(EditorWindow& e)
{
    if (Value() <= 0.5)
        return true;
    return e.DrawBitmapFrame(bitmap, rect, 1, BlendMode{}, true);
}

} // namespace tpm
