#pragma once

#include "draw/PixelBox.h"
#include "editor/EditorSize.h"

namespace tpm
{

class EditorWindow;

// The resize grip in the editor's bottom-right corner: where it lies, how it looks, and the size a drag
// on it asks for. The drag follows the pointer in physical pixels from where it began, since the window
// (and with it the logical grid) changes size under the pointer while the drag runs.
class ResizeGrip
{
  public:
    static constexpr int kSide = 14; // logical units

    // The grip's box in logical units, in the corner of an editor of that logical size.
    static PixelBox Box(int editorWidth, int editorHeight);
    // Draws the grip's dots through the editor (so at its scale).
    static void Draw(EditorWindow& editor, const PixelBox& box);

    // A press on the grip: the cursor and the window's size then, in physical pixels.
    void Begin(int x, int y, int width, int height);
    bool Dragging() const { return dragging; }
    // The aspect-correct size the cursor at (x, y) asks for.
    EditorSize Follow(int x, int y) const;
    void End() { dragging = false; }

  private:
    bool dragging = false;
    int startX = 0;
    int startY = 0;
    int startWidth = 0;
    int startHeight = 0;
};

} // namespace tpm
