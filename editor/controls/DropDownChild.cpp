#include "editor/controls/DropDownChild.h"

#include "editor/EditorWindow.h"

#include <algorithm>

namespace tpm
{

DropDownChild::DropDownChild(EditorWindow& owner, const PixelBox& box, const BitmapRef& listPicture,
                             Control& dropDown, int listColumns)
    : Control(owner, box), listBitmap(listPicture), target(dropDown), columns(std::max(listColumns, 1))
{
}

bool DropDownChild::Draw(EditorWindow& e)
{
    return e.DrawBitmapPart(listBitmap, rect, 0, 0, blend);
}

void DropDownChild::OnMouseDown(int x, int y, const MouseMod& mod)
{
    const int n = std::max(listBitmap.N, 1);
    const int w = std::max(rect.W(), 1);
    if (!mod.R)
    {
        const int column = std::min((x - rect.left) * columns / w, columns - 1);
        const int rows = (n + columns - 1) / columns;
        const int rowHeight = rect.H() / rows;
        int row = 0;
        while ((y - rect.top) >= rowHeight * (row + 1))
        {
            if (row + 1 >= n)
            {
                // Below the last choice: nothing is picked.
                MarkDirty(true);
                return;
            }
            ++row;
        }
        double picked = n > 1 ? static_cast<double>(column * rows + row) / (n - 1) : 0.0;
        if (picked > 1.0)
            picked = 0.0;
        target.SetValue(picked);
        MarkDirty(true);
        SetHidden(true);
        return;
    }
    MarkDirty(true);
}

} // namespace tpm
