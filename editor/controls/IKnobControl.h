// What the rotating and the multi-frame knobs share: the rectangle from centre, picture and text strip,
// dragging with gearing (fine with Control or Shift), and the parameter's value text under the picture.
#pragma once

#include "draw/IBitmapRef.h"
#include "draw/ITextStyle.h"
#include "editor/IControl.h"

namespace tpm
{

struct IKnobSetup
{
    int centerX = 0;
    int centerY = 0;
    IBitmapRef bitmap;
    ITextStyle textStyle;
    int textGap = 5;
    int rotationRange = 300; // degrees, rotating knobs only
    double dragGearing = 4.0;
    int width = 0; // 0: the width of one frame of the picture
    bool horizontal = false;
};

class IKnobControl : public IControl
{
  public:
    IKnobControl(IEditorWindow& editor, int paramIdx, const IKnobSetup& setup, bool textStripAlways);
    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod) override;

  protected:
    // Draws the value text into its strip (with the unit when withUnit); nothing for an empty text.
    bool DrawValueText(IEditorWindow& editor, bool withUnit);

    bool horizontal;
    double dragGearing;
    ITextStyle textStyle;
    IBitmapRef bitmap;
    int centerX;
    int centerY;
    int textGap;
    int rotationRange;
};

} // namespace tpm
