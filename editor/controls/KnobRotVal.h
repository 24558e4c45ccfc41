// A knob whose one picture turns with the value over rotationRange degrees, value text underneath.
#pragma once

#include "editor/controls/KnobControl.h"

namespace tpm
{

class KnobRotVal : public KnobControl
{
  public:
    KnobRotVal(EditorWindow& editor, int paramIdx, const KnobSetup& setup, float imageWeight = 1.0f,
               bool showUnit = true);
    bool Draw(EditorWindow& editor) override;

  private:
    BlendMode imageBlend;
    bool showUnit;
};

} // namespace tpm
