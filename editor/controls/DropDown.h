// A list parameter shown closed as one frame of a picture; a left press opens the picture of all choices
// as a separate list control on top of everything, and a pick there reaches the plug-in when the
// drop-down is next drawn.
#pragma once

#include "draw/BitmapRef.h"
#include "editor/Control.h"

namespace tpm
{

class DropDownChild;

class DropDown : public Control
{
  public:
    enum Placement
    {
        kBelowLeft = 0,
        kBelowRight = 1,
        kAboveLeft = 2,
        kAboveRight = 3,
    };

    DropDown(EditorWindow& editor, int paramIdx, int x, int y, const BitmapRef& closedLook,
             const BitmapRef& listPicture, int columns = 1, int placement = kBelowLeft);
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    bool Draw(EditorWindow& editor) override;

    bool IsListShown() const { return listShown; }

  private:
    void HideList();
    PixelBox ListBox() const;

    DropDownChild* child = nullptr; // owned by the editor's list
    BitmapRef bitmap;
    BitmapRef listBitmap;
    double lastValue = 0.0;
    bool listShown = false;
    int columns;
    int placement;
};

} // namespace tpm
