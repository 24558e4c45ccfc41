// What the rotating and the multi-frame knobs share: the rectangle from centre, picture and text strip,
// dragging with gearing (fine with Control or Shift), and the parameter's value text under the picture.
#pragma once

#include "draw/BitmapRef.h"
#include "draw/TextStyle.h"
#include "editor/Control.h"

namespace tpm
{

struct KnobSetup
{
    int centerX = 0;
    int centerY = 0;
    BitmapRef bitmap;
    TextStyle textStyle;
    int textGap = 5;
    int rotationRange = 300; // degrees, rotating knobs only
    double dragGearing = 4.0;
    int width = 0; // 0: the width of one frame of the picture
    bool horizontal = false;
};

class KnobControl : public Control
{
  public:
    KnobControl(EditorWindow& editor, int paramIdx, const KnobSetup& setup, bool textStripAlways);
    void OnMouseDrag(int x, int y, int dX, int dY, const MouseMod& mod) override;

  protected:
    // Draws the value text into its strip (with the unit when withUnit); nothing for an empty text.
    bool DrawValueText(EditorWindow& editor, bool withUnit);

    bool horizontal;
    double dragGearing;
    TextStyle textStyle;
    BitmapRef bitmap;
    int centerX;
    int centerY;
    int textGap;
    int rotationRange;
};

} // namespace tpm
