#include "editor/ResizeGrip.h"

#include "draw/Rgba.h"
#include "editor/EditorWindow.h"

namespace tpm
{

PixelBox ResizeGrip::Box(int editorWidth, int editorHeight)
{
    return {editorWidth - kSide, editorHeight - kSide, editorWidth, editorHeight};
}

void ResizeGrip::Draw(EditorWindow& editor, const PixelBox& box)
{
    // Six 2x2 dots in a triangle against the corner, the usual sign of a grip.
    const uint32_t colour = Rgba(170, 160, 178, 206).Packed();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column <= row; ++column)
        {
            const int x = box.right - 4 - 4 * column;
            const int y = box.bottom - 4 - 4 * (2 - row);
            editor.FillRect(colour, PixelBox{x, y, x + 2, y + 2});
        }
}

void ResizeGrip::Begin(int x, int y, int width, int height)
{
    dragging = true;
    startX = x;
    startY = y;
    startWidth = width;
    startHeight = height;
}

EditorSize ResizeGrip::Follow(int x, int y) const
{
    return FitEditorSize(startWidth + (x - startX), startHeight + (y - startY));
}

} // namespace tpm
