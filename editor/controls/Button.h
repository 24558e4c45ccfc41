// A two-state switch: draws its lit picture over the background only while on (value above 0.5) and
// toggles on a left press.
#pragma once

#include "draw/BitmapRef.h"
#include "editor/Control.h"

namespace tpm
{

class Button : public Control
{
  public:
    Button(EditorWindow& editor, int paramIdx, int x, int y, const BitmapRef& bitmap);
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    bool Draw(EditorWindow& editor) override;

  protected:
    BitmapRef bitmap;
};

} // namespace tpm
