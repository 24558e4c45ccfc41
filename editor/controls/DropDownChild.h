// The open list of a drop-down: the picture of all choices; a press on a choice writes it into the
// drop-down's value and hides the list.
#pragma once

#include "draw/BitmapRef.h"
#include "editor/Control.h"

namespace tpm
{

class DropDownChild : public Control
{
  public:
    DropDownChild(EditorWindow& editor, const PixelBox& rect, const BitmapRef& listPicture, Control& target,
                  int columns);
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    bool Draw(EditorWindow& editor) override;

  private:
    BitmapRef listBitmap;
    Control& target;
    int columns;
};

} // namespace tpm
