// The open list of a drop-down: the picture of all choices; a press on a choice writes it into the
// drop-down's value and hides the list.
#pragma once

#include "draw/IBitmapRef.h"
#include "editor/IControl.h"

namespace tpm
{

class IDropDownChild : public IControl
{
  public:
    IDropDownChild(IEditorWindow& editor, const IBox& rect, const IBitmapRef& listPicture, IControl& target,
                   int columns);
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    bool Draw(IEditorWindow& editor) override;

  private:
    IBitmapRef listBitmap;
    IControl& target;
    int columns;
};

} // namespace tpm
