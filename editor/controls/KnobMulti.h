// A knob shown as one of several pictures side by side in a strip, picked by the value (the wave
// selectors), value text with unit underneath.
#pragma once

#include "editor/controls/KnobControl.h"

namespace tpm
{

class KnobMulti : public KnobControl
{
  public:
    KnobMulti(EditorWindow& editor, int paramIdx, const KnobSetup& setup);
    bool Draw(EditorWindow& editor) override;
};

} // namespace tpm
