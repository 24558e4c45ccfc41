// The platform-free window logic: opening and closing, the frame tick, mouse dispatch with capture,
// wheel gestures with the delayed end-edit, keys, the entry field and the web link.
#include "editor/IControl.h"
#include "editor/IEditorWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tpm
{

bool IEditorWindow::OpenWindow(void* parent, bool takeFocus)
{
    IBox bounds{0, 0, Width(), Height()};
    if (layer)
    {
        // A second open keeps the first window's place.
        const IBox previous = layer->Bounds();
        bounds = {previous.left, previous.top, previous.left + Width(), previous.top + Height()};
        CloseWindow();
    }
    if (!layerFactory)
        return false;
    CreateSurface();
    layer = layerFactory(*this, parent, bounds, frameRate);
    if (!layer)
        return false;
    takesFocus = takeFocus;
    if (takesFocus)
        layer->TakeFocus();
    MarkAllDirty();
    return true;
}

void IEditorWindow::CloseWindow()
{
    if (!layer)
        return;
    EndWheelGesture();
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
    entryState = kEntryIdle;
    ResetMouse();
    grip.End();
    layer.reset();
}

void IEditorWindow::OnWindowClosing()
{
    CloseWindow();
}

void IEditorWindow::OnSystemScaleChanged(double newScale)
{
    // A host that sizes the editor itself is asked, so that its frame follows; others get it at once.
    const EditorSize size = EditorSizeAtScale(newScale);
    if (resizeRequest)
        resizeRequest->RequestSize(size.width, size.height);
    else
        SetScale(size.scale);
}

int IEditorWindow::EventDescriptor() const
{
    return layer ? layer->EventDescriptor() : -1;
}

void IEditorWindow::Idle()
{
    if (layer)
        layer->Idle();
}

void IEditorWindow::OnFrameTick()
{
    EntryStep();
    ShowPluginState();
    IBox dirty;
    if (layer && CollectDirtyRect(dirty))
        layer->Redraw(ToPhysical(dirty));
    CountdownStep();
}

void IEditorWindow::CountdownStep()
{
    if (endEditCountdown > 0 && --endEditCountdown == 0)
        EndWheelGesture();
}

void IEditorWindow::EndWheelGesture()
{
    endEditCountdown = 0;
    if (wheelGestureParam >= 0)
        controller.EndGesture(std::exchange(wheelGestureParam, -1));
}

void IEditorWindow::BeginGesture(int paramIdx)
{
    EndWheelGesture();
    controller.BeginGesture(paramIdx);
}

void IEditorWindow::EndGesture(int paramIdx)
{
    controller.EndGesture(paramIdx);
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
    if (GripShown() && mod.L && ResizeGrip::Box(width, height).Contains(ToLogical(x), ToLogical(y)))
    {
        ResetMouse();
        grip.Begin(x, y, Width(), Height());
        return;
    }
    HandleMouseDown(ToLogical(x), ToLogical(y), mod);
}

void IEditorWindow::OnMouseUp(int x, int y, const IMouseMod& mod)
{
    if (grip.Dragging())
    {
        grip.End();
        return;
    }
    HandleMouseUp(ToLogical(x), ToLogical(y), mod);
}

void IEditorWindow::OnMouseDrag(int x, int y, const IMouseMod& mod)
{
    if (!grip.Dragging())
    {
        HandleMouseDrag(ToLogical(x), ToLogical(y), mod);
        return;
    }
    const EditorSize wanted = grip.Follow(x, y);
    // The host decides: it answers with SetScale (perhaps at once, from inside this call) or not at all.
    if (resizeRequest && (wanted.width != Width() || wanted.height != Height()))
        resizeRequest->RequestSize(wanted.width, wanted.height);
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
        BeginGesture(c.ParamIdx());
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
        EndGesture(c.ParamIdx());
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
        BeginGesture(c.ParamIdx());
    c.OnMouseDblClick(x, y, mod);
}

void IEditorWindow::HandleMouseWheel(int x, int y, const IMouseMod& mod, int steps)
{
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    IControl& c = *controls[static_cast<size_t>(idx)];
    // A series of wheel steps on one control forms one gesture, ended half a second after the last step
    // or at once by any other gesture.
    if (c.IsBound() && c.ParamIdx() != wheelGestureParam)
        BeginGesture(c.ParamIdx());
    c.OnMouseWheel(x, y, mod, steps);
    if (c.IsBound())
    {
        wheelGestureParam = c.ParamIdx();
        endEditCountdown = std::max(frameRate / 2, 1);
    }
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
    x = ToLogical(x);
    y = ToLogical(y);
    IMouseMod mod = layer->ModifierState();
    mod.L = false;
    mod.R = false;
    // The host's value is a float: a NaN or a huge one would make the conversion undefined.
    const float limited = std::isfinite(step) ? std::clamp(step, -1.0e6f, 1.0e6f) : 0.0f;
    HandleMouseWheel(x, y, mod, static_cast<int>(limited));
    return 1;
}

bool IEditorWindow::PromptParamInput(IControl* control)
{
    if (!control || !control->IsBound() || entryControl || !layer)
        return false;
    const int paramIdx = control->ParamIdx();
    const IBox& r = control->Rect();
    const int cx = static_cast<int>((r.left + r.right) * 0.5);
    const int cy = static_cast<int>((r.top + r.bottom) * 0.5);
    const double value = control->Value();
    IEntryFieldSpec request;
    request.choices = controller.ListTexts(paramIdx);
    if (!request.choices.empty())
    {
        request.kind = IEntryFieldSpec::Kind::List;
        const std::string current = controller.DisplayText(paramIdx, value);
        size_t longest = 0;
        for (size_t i = 0; i < request.choices.size(); ++i)
        {
            longest = std::max(longest, request.choices[i].size());
            if (request.choices[i] == current)
                request.selected = static_cast<int>(i);
        }
        const int texts = static_cast<int>(request.choices.size());
        const int w = std::max(24, static_cast<int>(8 * longest) + 24);
        request.box = {cx - w / 2, cy, cx - w / 2 + w, cy + 36 * (texts + 1)};
    }
    else
    {
        request.kind = IEntryFieldSpec::Kind::Text;
        request.text = controller.DisplayText(paramIdx, value);
        const int w = std::max(32, static_cast<int>(7 * controller.DisplayText(paramIdx, 1.0).size()) + 6);
        request.box = {cx - w / 2, cy - 8, cx - w / 2 + w, cy + 8};
    }
    request.box = ToPhysical(request.box);
    request.scale = scale;
    if (!layer->OpenEntryField(request))
        return false;
    entryControl = control;
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
    entryState = kEntryIdle;
    // The control is redrawn and its value sent once more, changed or not.
    control->MarkDirty(true);
}

void IEditorWindow::ApplyEnteredText(const std::string& text)
{
    const int paramIdx = entryControl->ParamIdx();
    double normalized = 0.0;
    if (!controller.NormalizedFromText(paramIdx, text.c_str(), normalized))
        return; // a text that names no value leaves the parameter as it was
    BeginGesture(paramIdx);
    entryControl->ApplyEnteredValue(normalized);
    EndGesture(paramIdx);
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
