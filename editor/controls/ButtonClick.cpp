#include "editor/controls/ButtonClick.h"

namespace tpm
{

void ButtonClick::OnMouseDown(int, int, const MouseMod& mod)
{
    // As a plain switch, but the command reaches the plug-in in the same step as the value it
    // qualifies, so no other change can come between them.
    if (!mod.R)
        SetValue(Value() <= 0.5 ? 1.0 : 0.0);
    const double value = MarkChanged();
    if (IsBound())
        SendValueAfterCommand(command, value);
}

} // namespace tpm
