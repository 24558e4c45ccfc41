// A knob shown as one of several pictures side by side in a strip, picked by the value (the wave
// selectors), value text with unit underneath.
#pragma once

#include "editor/controls/IKnobControl.h"

namespace tpm
{

class IKnobMulti : public IKnobControl
{
  public:
    IKnobMulti(IEditorWindow& editor, int paramIdx, const IKnobSetup& setup);
    bool Draw(IEditorWindow& editor) override;
};

} // namespace tpm
