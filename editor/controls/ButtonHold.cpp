#include "editor/controls/ButtonHold.h"

namespace tpm
{

void ButtonHold::OnMouseDown(int, int, const MouseMod& mod)
{
    if (!mod.R)
        SetValue(1.0);
    MarkDirty(true);
}

void ButtonHold::OnMouseUp(int, int, const MouseMod&)
{
    SetValue(0.0);
    MarkDirty(true);
}

} // namespace tpm
