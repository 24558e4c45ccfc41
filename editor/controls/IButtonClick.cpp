#include "editor/controls/IButtonClick.h"

#include "core/IEffectBase.h"
#include "editor/IEditorWindow.h"

namespace tpm
{

void IButtonClick::OnMouseDown(int x, int y, const IMouseMod& mod)
{
    // The flag and the value it qualifies reach the plug-in in one locked step, so no other thread can
    // see or clear the flag in between.
    ILockGuard guard(editor.Plugin().Lock());
    if (pressFlag)
        *pressFlag = true;
    IButton::OnMouseDown(x, y, mod);
}

} // namespace tpm
