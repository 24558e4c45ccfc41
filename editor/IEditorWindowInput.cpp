// The platform-free window logic: opening and closing, the frame tick, mouse dispatch with capture,
// wheel gestures with the delayed end-edit, keys, the entry field and the web link.
#include "core/IEffectBase.h"
#include "editor/IControl.h"
#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tpm
{

namespace
{
// The host (its product name contains "acoustica") whose editor windows get no keyboard focus of
// their own unless they take it when created and when clicked.
constexpr int kHostNeedingFocus = 25;
} // namespace

bool IEditorWindow::OpenWindow(void* parent)
{
    IBox bounds{0, 0, width, height};
    if (layer)
    {
        // A second open keeps the first window's place and size.
        bounds = layer->Bounds();
        CloseWindow();
    }
    if (!layerFactory)
        return false;
    CreateSurface();
    layer = layerFactory(*this, parent, bounds, frameRate);
    if (!layer)
        return false;
    {
        // The host may be asked for its name here; the plug-in's other threads share that answer.
        ILockGuard guard(plugin.Lock());
        takesFocus = plugin.GetHostId() == kHostNeedingFocus;
    }
    if (takesFocus)
        layer->TakeFocus();
    MarkAllDirty();
    return true;
}

void IEditorWindow::CloseWindow()
{
    if (!layer)
        return;
    if (EndEditCountdown() != 0)
        plugin.FlushDelayedEndEdit();
    DropWindow();
}

void IEditorWindow::DropWindow()
{
    if (!layer)
        return;
    // The entry field goes with the window; its text is not applied.
    if (entryControl)
        layer->CloseEntryField();
    entryControl = nullptr;
    entryParam = nullptr;
    entryState = kEntryIdle;
    ResetMouse();
    layer.reset();
}

void IEditorWindow::OnWindowClosing()
{
    CloseWindow();
}

void IEditorWindow::Idle()
{
    if (layer)
        layer->Idle();
}

void IEditorWindow::OnFrameTick()
{
    EntryStep();
    IBox dirty;
    if (layer && CollectDirtyRect(dirty))
        layer->Redraw(dirty);
    CountdownStep();
}

void IEditorWindow::SetEndEditCountdown(int ticks)
{
    endEditCountdown.store(ticks, std::memory_order_release);
}

void IEditorWindow::ClearEndEditCountdown()
{
    endEditCountdown.store(0, std::memory_order_release);
}

void IEditorWindow::CountdownStep()
{
    // Decrement without the plug-in lock; a count set meanwhile by another thread wins.
    int left = endEditCountdown.load(std::memory_order_acquire);
    while (left > 0 && !endEditCountdown.compare_exchange_weak(left, left - 1, std::memory_order_acq_rel))
    {
    }
    if (left == 1)
        plugin.FlushDelayedEndEdit();
}

void IEditorWindow::ResetMouse()
{
    captureIdx = -1;
    lastMouseX = -1;
    lastMouseY = -1;
}

int IEditorWindow::GetControlAt(int x, int y) const
{
    if (captureIdx >= 0)
        return captureIdx;
    for (int i = ControlCount() - 1; i >= 0; --i)
    {
        const IControl& c = *controls[static_cast<size_t>(i)];
        if (!c.IsHidden() && !c.IsGrayed() && c.HitTest(x, y))
            return i;
    }
    return -1;
}

void IEditorWindow::OnMouseDown(int x, int y, const IMouseMod& mod)
{
    if (takesFocus)
        layer->TakeFocus();
    if (entryControl)
    {
        // A press elsewhere ends the entry: right cancels (and does nothing else), left commits.
        if (mod.R)
        {
            entryState = kEntryCancel;
            return;
        }
        entryState = kEntryCommit;
    }
    HandleMouseDown(x, y, mod);
}

void IEditorWindow::HandleMouseDown(int x, int y, const IMouseMod& mod)
{
    ResetMouse();
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    captureIdx = idx;
    lastMouseX = x;
    lastMouseY = y;
    IControl& c = *controls[static_cast<size_t>(idx)];
    if (c.IsBound())
        plugin.HostBeginEdit(c.ParamIdx());
    c.OnMouseDown(x, y, mod);
}

void IEditorWindow::HandleMouseUp(int x, int y, const IMouseMod& mod)
{
    const int idx = GetControlAt(x, y);
    ResetMouse();
    if (idx < 0)
        return;
    IControl& c = *controls[static_cast<size_t>(idx)];
    c.OnMouseUp(x, y, mod);
    if (c.IsBound())
        plugin.HostEndEdit(c.ParamIdx());
}

void IEditorWindow::HandleMouseDrag(int x, int y, const IMouseMod& mod)
{
    if (captureIdx < 0 || (x == lastMouseX && y == lastMouseY))
        return;
    const int dX = x - lastMouseX;
    const int dY = y - lastMouseY;
    lastMouseX = x;
    lastMouseY = y;
    controls[static_cast<size_t>(captureIdx)]->OnMouseDrag(x, y, dX, dY, mod);
}

void IEditorWindow::HandleMouseDblClick(int x, int y, const IMouseMod& mod)
{
    ResetMouse();
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    IControl& c = *controls[static_cast<size_t>(idx)];
    if (c.IsBound())
        plugin.HostBeginEdit(c.ParamIdx());
    c.OnMouseDblClick(x, y, mod);
}

void IEditorWindow::HandleMouseWheel(int x, int y, const IMouseMod& mod, int steps)
{
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    IControl& c = *controls[static_cast<size_t>(idx)];
    if (c.IsBound())
        plugin.HostBeginEditIfNew(c.ParamIdx());
    c.OnMouseWheel(x, y, mod, steps);
    if (c.IsBound())
        plugin.HostEndEditDelayed(c.ParamIdx());
}

void IEditorWindow::HandleKeyDown(int x, int y, EditorKey key)
{
    const int idx = GetControlAt(x, y);
    if (idx >= 0)
        controls[static_cast<size_t>(idx)]->OnKeyDown(x, y, key);
}

intptr_t IEditorWindow::WheelAtCursor(float step)
{
    int x = 0;
    int y = 0;
    if (!layer || !layer->CursorInWindow(x, y))
        return 0;
    IMouseMod mod = layer->ModifierState();
    mod.L = false;
    mod.R = false;
    // The host's value is a float: a NaN or a huge one would make the conversion undefined.
    const float limited = std::isfinite(step) ? std::clamp(step, -1.0e6f, 1.0e6f) : 0.0f;
    HandleMouseWheel(x, y, mod, static_cast<int>(limited));
    return 1;
}

bool IEditorWindow::PromptParamInput(IControl* control, const IParameter* param)
{
    if (!control || !param || entryControl || !layer)
        return false;
    const IBox& r = control->Rect();
    const int cx = static_cast<int>((r.left + r.right) * 0.5);
    const int cy = static_cast<int>((r.top + r.bottom) * 0.5);
    // The control's own value, not the parameter's: another thread may be writing that one.
    const double value = control->Value();
    IEntryFieldSpec request;
    const int texts = param->DisplayTextCount();
    if ((param->GetKind() == IParameter::kEnum || param->GetKind() == IParameter::kBool) && texts > 0)
    {
        request.kind = IEntryFieldSpec::Kind::List;
        const std::string current = param->FormatDisplay(value, true);
        size_t longest = 0;
        for (int i = 0; i < texts; ++i)
        {
            // Display texts are listed in value order from the minimum.
            request.choices.emplace_back(param->GetDisplayText(static_cast<int>(param->Min()) + i));
            longest = std::max(longest, request.choices.back().size());
            if (request.choices.back() == current)
                request.selected = i;
        }
        const int w = std::max(24, static_cast<int>(8 * longest) + 24);
        request.box = {cx - w / 2, cy, cx - w / 2 + w, cy + 36 * (texts + 1)};
    }
    else
    {
        request.kind = IEntryFieldSpec::Kind::Text;
        request.text = param->FormatDisplay(value, true);
        const int w = std::max(32, static_cast<int>(7 * param->FormatDisplay(1.0, true).size()) + 6);
        request.box = {cx - w / 2, cy - 8, cx - w / 2 + w, cy + 8};
    }
    if (!layer->OpenEntryField(request))
        return false;
    entryControl = control;
    entryParam = param;
    return true;
}

void IEditorWindow::OnEntryFocus(bool focused)
{
    if (entryControl)
        entryState = focused ? kEntryEditing : kEntryIdle;
}

void IEditorWindow::OnEntryTyping()
{
    if (entryControl)
        entryState = kEntryEditing;
}

void IEditorWindow::OnEntryCommit()
{
    if (entryControl)
        entryState = kEntryCommit;
}

void IEditorWindow::OnEntryCancel()
{
    if (entryControl)
        entryState = kEntryCancel;
}

void IEditorWindow::EntryStep()
{
    if (!entryControl)
        return;
    switch (entryState)
    {
    case kEntryCommit:
        CloseEntryField(true);
        break;
    case kEntryCancel:
        CloseEntryField(false);
        break;
    case kEntryEditing:
        entryState = kEntryIdle;
        break;
    default:
        break;
    }
}

void IEditorWindow::CloseEntryField(bool apply)
{
    if (apply && layer)
    {
        std::string text = layer->EntryFieldText();
        if (text.size() > 999)
            text.resize(999);
        ApplyEnteredText(text);
    }
    IControl* control = entryControl;
    if (layer)
        layer->CloseEntryField();
    entryControl = nullptr;
    entryParam = nullptr;
    entryState = kEntryIdle;
    // The control is redrawn and its value sent once more, changed or not.
    control->MarkDirty(true);
}

void IEditorWindow::ApplyEnteredText(const std::string& text)
{
    double value = 0.0;
    if (!entryParam->ParseEntry(text.c_str(), value))
        return; // a text that names no value leaves the parameter as it was
    const int paramIdx = entryControl->ParamIdx();
    if (paramIdx >= 0)
        plugin.HostBeginEdit(paramIdx);
    entryControl->ApplyEnteredValue(entryParam->ToNormalized(value));
    if (paramIdx >= 0)
        plugin.HostEndEdit(paramIdx);
}

bool IEditorWindow::OpenWebPage(const std::string& address, const std::string& title,
                                const std::string& confirmText, const std::string& failText)
{
    if (!layer)
        return false;
    if (!confirmText.empty() && !layer->AskYesNo(title, confirmText))
        return false;
    if (layer->OpenWebPage(address))
        return true;
    if (!failText.empty())
        layer->ShowMessage(title, failText);
    return false;
}

} // namespace tpm
