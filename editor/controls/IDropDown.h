// A list parameter shown closed as one frame of a picture; a left press opens the picture of all choices
// as a separate list control on top of everything, and a pick there reaches the plug-in when the
// drop-down is next drawn.
#pragma once

#include "draw/IBitmapRef.h"
#include "editor/IControl.h"

namespace tpm
{

class IDropDownChild;

class IDropDown : public IControl
{
  public:
    enum Placement
    {
        kBelowLeft = 0,
        kBelowRight = 1,
        kAboveLeft = 2,
        kAboveRight = 3,
    };

    IDropDown(IEditorWindow& editor, int paramIdx, int x, int y, const IBitmapRef& closedLook,
              const IBitmapRef& listPicture, int columns = 1, int placement = kBelowLeft);
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    bool Draw(IEditorWindow& editor) override;

    bool IsListShown() const { return listShown; }

  private:
    void HideList();
    IBox ListBox() const;

    IDropDownChild* child = nullptr; // owned by the editor's list
    IBitmapRef bitmap;
    IBitmapRef listBitmap;
    double lastValue = 0.0;
    bool listShown = false;
    int columns;
    int placement;
};

} // namespace tpm
