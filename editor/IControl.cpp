#include "editor/IControl.h"

#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

IControl::IControl(IEditorWindow& owner, const IBox& box, int param)
    : editor(owner), rect(box), targetRect(box), paramIdx(param)
{
}

void IControl::OnMouseDown(int, int, const IMouseMod& mod)
{
    if (mod.R)
        PromptForValue();
}

void IControl::OnMouseUp(int, int, const IMouseMod&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseMod&) {}

void IControl::OnMouseDblClick(int, int, const IMouseMod&)
{
    if (!IsBound())
        return;
    SetValue(editor.Controller().DefaultNormalized(paramIdx));
    MarkDirty(true);
}

void IControl::OnMouseWheel(int, int, const IMouseMod& mod, int steps)
{
    const double step = (mod.C || mod.S) ? 0.001 : 0.01;
    SetValue(Value() + steps * step);
    MarkDirty(true);
}

void IControl::OnKeyDown(int, int, EditorKey) {}

void IControl::ApplyHostValue(double v)
{
    if (v == Value())
        return;
    SetValue(v);
    MarkDirty(false);
    redrawPending.store(true, std::memory_order_release);
}

void IControl::ApplyEnteredValue(double v)
{
    if (v != Value())
        SetValue(v);
    MarkDirty(true);
    redrawPending.store(true, std::memory_order_release);
}

void IControl::SetHidden(bool hide)
{
    hidden.store(hide, std::memory_order_relaxed);
    redrawPending.store(true, std::memory_order_release);
    MarkDirty(false);
}

void IControl::SetGrayed(bool gray)
{
    grayed.store(gray, std::memory_order_relaxed);
    blend.weight = gray ? 0.25f : 1.0f;
    MarkDirty(false);
}

void IControl::TakePluginValue(double normalized)
{
    if (normalized == pluginValue)
        return;
    pluginValue = normalized;
    ApplyHostValue(normalized);
}

double IControl::MarkChanged()
{
    double v = Value();
    // Not-a-number would pass every comparison and reach the parameter: it counts as the low end.
    const double clamped = std::isnan(v) ? clampLo : std::clamp(v, clampLo, clampHi);
    if (clamped != v)
        SetValue(clamped);
    changeCount.fetch_add(1, std::memory_order_acq_rel);
    return clamped;
}

void IControl::MarkDirty(bool notifyPlugin)
{
    const double clamped = MarkChanged();
    if (notifyPlugin && IsBound())
        SendValue(clamped);
}

void IControl::SendValue(double normalized)
{
    pluginValue = editor.Controller().SetValue(paramIdx, normalized);
}

void IControl::SendValueAfterCommand(EditorCommand command, double normalized)
{
    pluginValue = editor.Controller().SetValueAfterCommand(command, paramIdx, normalized);
}

void IControl::MarkClean(uint32_t stamp)
{
    // A pending redraw keeps the control dirty for one more cycle.
    if (redrawPending.exchange(false, std::memory_order_acq_rel))
        return;
    drawnCount = stamp;
}

void IControl::PromptForValue()
{
    if (!IsBound())
        return;
    editor.PromptParamInput(this);
    redrawPending.store(true, std::memory_order_release);
}

} // namespace tpm
