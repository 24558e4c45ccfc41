// The platform-free window logic: opening and closing, the frame tick, mouse dispatch with capture,
// wheel gestures with the delayed end-edit, keys, the entry field and the web link.
#include "editor/Control.h"
#include "editor/EditorWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tpm
{

bool EditorWindow::OpenWindow(void* parent, bool takeFocus)
{
    PixelBox bounds{0, 0, Width(), Height()};
    if (layer)
    {
        // A second open keeps the first window's place.
        const PixelBox previous = layer->Bounds();
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

void EditorWindow::CloseWindow()
{
    if (!layer)
        return;
    EndWheelGesture();
    DropWindow();
}

void EditorWindow::DropWindow()
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

void EditorWindow::OnWindowClosing()
{
    CloseWindow();
}

void EditorWindow::OnSystemScaleChanged(double newScale)
{
    // A host that sizes the editor itself is asked, so that its frame follows; others get it at once.
    const EditorSize size = EditorSizeAtScale(newScale);
    if (resizeRequest)
        resizeRequest->RequestSize(size.width, size.height);
    else
        SetScale(size.scale);
}

int EditorWindow::EventDescriptor() const
{
    return layer ? layer->EventDescriptor() : -1;
}

void EditorWindow::Idle()
{
    if (layer)
        layer->Idle();
}

void EditorWindow::OnFrameTick()
{
    EntryStep();
    ShowPluginState();
    PixelBox dirty;
    if (layer && CollectDirtyRect(dirty))
        layer->Redraw(ToPhysical(dirty));
    CountdownStep();
}

void EditorWindow::CountdownStep()
{
    if (endEditCountdown > 0 && --endEditCountdown == 0)
        EndWheelGesture();
}

void EditorWindow::EndWheelGesture()
{
    endEditCountdown = 0;
    if (wheelGestureParam >= 0)
        controller.EndGesture(std::exchange(wheelGestureParam, -1));
}

void EditorWindow::BeginGesture(int paramIdx)
{
    EndWheelGesture();
    controller.BeginGesture(paramIdx);
}

void EditorWindow::EndGesture(int paramIdx)
{
    controller.EndGesture(paramIdx);
}

void EditorWindow::ResetMouse()
{
    captureIdx = -1;
    lastMouseX = -1;
    lastMouseY = -1;
}

int EditorWindow::GetControlAt(int x, int y) const
{
    if (captureIdx >= 0)
        return captureIdx;
    for (int i = ControlCount() - 1; i >= 0; --i)
    {
        const Control& c = *controls[static_cast<size_t>(i)];
        if (!c.IsHidden() && !c.IsGrayed() && c.HitTest(x, y))
            return i;
    }
    return -1;
}

void EditorWindow::OnMouseDown(int x, int y, const MouseMod& mod)
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

void EditorWindow::OnMouseUp(int x, int y, const MouseMod& mod)
{
    if (grip.Dragging())
    {
        grip.End();
        return;
    }
    HandleMouseUp(ToLogical(x), ToLogical(y), mod);
}

void EditorWindow::OnMouseDrag(int x, int y, const MouseMod& mod)
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

void EditorWindow::HandleMouseDown(int x, int y, const MouseMod& mod)
{
    ResetMouse();
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    captureIdx = idx;
    lastMouseX = x;
    lastMouseY = y;
    Control& c = *controls[static_cast<size_t>(idx)];
    if (c.IsBound())
        BeginGesture(c.ParamIdx());
    c.OnMouseDown(x, y, mod);
}

void EditorWindow::HandleMouseUp(int x, int y, const MouseMod& mod)
{
    const int idx = GetControlAt(x, y);
    ResetMouse();
    if (idx < 0)
        return;
    Control& c = *controls[static_cast<size_t>(idx)];
    c.OnMouseUp(x, y, mod);
    if (c.IsBound())
        EndGesture(c.ParamIdx());
}

void EditorWindow::HandleMouseDrag(int x, int y, const MouseMod& mod)
{
    if (captureIdx < 0 || (x == lastMouseX && y == lastMouseY))
        return;
    const int dX = x - lastMouseX;
    const int dY = y - lastMouseY;
    lastMouseX = x;
    lastMouseY = y;
    controls[static_cast<size_t>(captureIdx)]->OnMouseDrag(x, y, dX, dY, mod);
}

void EditorWindow::HandleMouseDblClick(int x, int y, const MouseMod& mod)
{
    ResetMouse();
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    Control& c = *controls[static_cast<size_t>(idx)];
    if (c.IsBound())
        BeginGesture(c.ParamIdx());
    c.OnMouseDblClick(x, y, mod);
}

void EditorWindow::HandleMouseWheel(int x, int y, const MouseMod& mod, int steps)
{
    const int idx = GetControlAt(x, y);
    if (idx < 0)
        return;
    Control& c = *controls[static_cast<size_t>(idx)];
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

void EditorWindow::HandleKeyDown(int x, int y, EditorKey key)
{
    const int idx = GetControlAt(x, y);
    if (idx >= 0)
        controls[static_cast<size_t>(idx)]->OnKeyDown(x, y, key);
}

intptr_t EditorWindow::WheelAtCursor(float step)
{
    int x = 0;
    int y = 0;
    if (!layer || !layer->CursorInWindow(x, y))
        return 0;
    x = ToLogical(x);
    y = ToLogical(y);
    MouseMod mod = layer->ModifierState();
    mod.L = false;
    mod.R = false;
    // The host's value is a float: a NaN or a huge one would make the conversion undefined.
    const float limited = std::isfinite(step) ? std::clamp(step, -1.0e6f, 1.0e6f) : 0.0f;
    HandleMouseWheel(x, y, mod, static_cast<int>(limited));
    return 1;
}

bool EditorWindow::PromptParamInput(Control* control)
{
    if (!control || !control->IsBound() || entryControl || !layer)
        return false;
    const int paramIdx = control->ParamIdx();
    const PixelBox& r = control->Rect();
    const int cx = static_cast<int>((r.left + r.right) * 0.5);
    const int cy = static_cast<int>((r.top + r.bottom) * 0.5);
    const double value = control->Value();
    EntryFieldSpec request;
    request.choices = controller.ListTexts(paramIdx);
    if (!request.choices.empty())
    {
        request.kind = EntryFieldSpec::Kind::List;
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
        request.kind = EntryFieldSpec::Kind::Text;
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

void EditorWindow::OnEntryFocus(bool focused)
{
    if (entryControl)
        entryState = focused ? kEntryEditing : kEntryIdle;
}

void EditorWindow::OnEntryTyping()
{
    if (entryControl)
        entryState = kEntryEditing;
}

void EditorWindow::OnEntryCommit()
{
    if (entryControl)
        entryState = kEntryCommit;
}

void EditorWindow::OnEntryCancel()
{
    if (entryControl)
        entryState = kEntryCancel;
}

void EditorWindow::EntryStep()
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

void EditorWindow::CloseEntryField(bool apply)
{
    if (apply && layer)
    {
        std::string text = layer->EntryFieldText();
        if (text.size() > 999)
            text.resize(999);
        ApplyEnteredText(text);
    }
    Control* control = entryControl;
    if (layer)
        layer->CloseEntryField();
    entryControl = nullptr;
    entryState = kEntryIdle;
    // The control is redrawn and its value sent once more, changed or not.
    control->MarkDirty(true);
}

void EditorWindow::ApplyEnteredText(const std::string& text)
{
    const int paramIdx = entryControl->ParamIdx();
    double normalized = 0.0;
    if (!controller.NormalizedFromText(paramIdx, text.c_str(), normalized))
        return; // a text that names no value leaves the parameter as it was
    BeginGesture(paramIdx);
    entryControl->ApplyEnteredValue(normalized);
    EndGesture(paramIdx);
}

bool EditorWindow::OpenWebPage(const std::string& address, const std::string& title,
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
