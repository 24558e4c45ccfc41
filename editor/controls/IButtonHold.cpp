#include "editor/controls/IButtonHold.h"

namespace tpm
{

void IButtonHold::OnMouseDown(int, int, const IMouseMod& mod)
{
    if (!mod.R)
        SetValue(1.0);
    MarkDirty(true);
}

void IButtonHold::OnMouseUp(int, int, const IMouseMod&)
{
    SetValue(0.0);
    MarkDirty(true);
}

} // namespace tpm
