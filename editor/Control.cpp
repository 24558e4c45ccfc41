#include "editor/Control.h"

#include "editor/EditorWindow.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

Control::Control(EditorWindow& owner, const PixelBox& box, int param)
    : editor(owner), rect(box), targetRect(box), paramIdx(param)
{
}

void Control::OnMouseDown(int, int, const MouseMod& mod)
{
    if (mod.R)
        PromptForValue();
}

void Control::OnMouseUp(int, int, const MouseMod&) {}

void Control::OnMouseDrag(int, int, int, int, const MouseMod&) {}

void Control::OnMouseDblClick(int, int, const MouseMod&)
{
    if (!IsBound())
        return;
    SetValue(editor.Controller().DefaultNormalized(paramIdx));
    MarkDirty(true);
}

void Control::OnMouseWheel(int, int, const MouseMod& mod, int steps)
{
    const double step = (mod.C || mod.S) ? 0.001 : 0.01;
    SetValue(Value() + steps * step);
    MarkDirty(true);
}

void Control::OnKeyDown(int, int, EditorKey) {}

void Control::ApplyHostValue(double v)
{
    if (v == Value())
        return;
    SetValue(v);
    MarkDirty(false);
    redrawPending.store(true, std::memory_order_release);
}

void Control::ApplyEnteredValue(double v)
{
    if (v != Value())
        SetValue(v);
    MarkDirty(true);
    redrawPending.store(true, std::memory_order_release);
}

void Control::SetHidden(bool hide)
{
    hidden.store(hide, std::memory_order_relaxed);
    redrawPending.store(true, std::memory_order_release);
    MarkDirty(false);
}

void Control::SetGrayed(bool gray)
{
    grayed.store(gray, std::memory_order_relaxed);
    blend.weight = gray ? 0.25f : 1.0f;
    MarkDirty(false);
}

void Control::TakePluginValue(double normalized)
{
    if (normalized == pluginValue)
        return;
    pluginValue = normalized;
    ApplyHostValue(normalized);
}

double Control::MarkChanged()
{
    double v = Value();
    // Not-a-number would pass every comparison and reach the parameter: it counts as the low end.
    const double clamped = std::isnan(v) ? clampLo : std::clamp(v, clampLo, clampHi);
    if (clamped != v)
        SetValue(clamped);
    changeCount.fetch_add(1, std::memory_order_acq_rel);
    return clamped;
}

void Control::MarkDirty(bool notifyPlugin)
{
    const double clamped = MarkChanged();
    if (notifyPlugin && IsBound())
        SendValue(clamped);
}

void Control::SendValue(double normalized)
{
    pluginValue = editor.Controller().SetValue(paramIdx, normalized);
}

void Control::SendValueAfterCommand(EditorCommand command, double normalized)
{
    pluginValue = editor.Controller().SetValueAfterCommand(command, paramIdx, normalized);
}

void Control::MarkClean(uint32_t stamp)
{
    // A pending redraw keeps the control dirty for one more cycle.
    if (redrawPending.exchange(false, std::memory_order_acq_rel))
        return;
    drawnCount = stamp;
}

void Control::PromptForValue()
{
    if (!IsBound())
        return;
    editor.PromptParamInput(this);
    redrawPending.store(true, std::memory_order_release);
}

} // namespace tpm
