// A two-state switch: draws its lit picture over the background only while on (value above 0.5) and
// toggles on a left press.
#pragma once

#include "draw/IBitmapRef.h"
#include "editor/IControl.h"

namespace tpm
{

class IButton : public IControl
{
  public:
    IButton(IEditorWindow& editor, int paramIdx, int x, int y, const IBitmapRef& bitmap);
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    bool Draw(IEditorWindow& editor) override;

  protected:
    IBitmapRef bitmap;
};

} // namespace tpm
