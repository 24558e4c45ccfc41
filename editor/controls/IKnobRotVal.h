// A knob whose one picture turns with the value over rotationRange degrees, value text underneath.
#pragma once

#include "editor/controls/IKnobControl.h"

namespace tpm
{

class IKnobRotVal : public IKnobControl
{
  public:
    IKnobRotVal(IEditorWindow& editor, int paramIdx, const IKnobSetup& setup, float imageWeight = 1.0f,
                bool showUnit = true);
    bool Draw(IEditorWindow& editor) override;

  private:
    IBlend imageBlend;
    bool showUnit;
};

} // namespace tpm
