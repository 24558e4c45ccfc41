// The base of every editor element: a rectangle, an optional bound parameter and a normalised value.
// Controls never draw on their own: value, visibility and gray changes only set flags, and the editor's
// frame tick redraws what changed. Everything runs on the user-interface thread; values from elsewhere
// reach a control only through the editor's frame tick.
#pragma once

#include "draw/BlendMode.h"
#include "draw/PixelBox.h"
#include "editor/IEditorController.h"
#include "editor/IWindowLayer.h"

#include <atomic>
#include <cstdint>
#include <limits>

namespace tpm
{

class EditorWindow;

class Control
{
  public:
    Control(EditorWindow& editor, const PixelBox& rect, int paramIdx = -1);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Input, routed by the editor on the user-interface thread.
    virtual void OnMouseDown(int x, int y, const MouseMod& mod);
    virtual void OnMouseUp(int x, int y, const MouseMod& mod);
    virtual void OnMouseDrag(int x, int y, int dX, int dY, const MouseMod& mod);
    virtual void OnMouseDblClick(int x, int y, const MouseMod& mod);
    virtual void OnMouseWheel(int x, int y, const MouseMod& mod, int steps);
    virtual void OnKeyDown(int x, int y, EditorKey key);

    // Draws into the editor's surface (clipped to the region being drawn); false when it could not.
    virtual bool Draw(EditorWindow& editor) = 0;

    // The plug-in's value at a frame tick: taken over only when it changed since the control last took
    // or sent one, so a value the plug-in rounded never pulls a control out of the user's hand.
    void TakePluginValue(double normalized);
    // What the plug-in shows besides its values, at every frame tick; most controls show none of it.
    virtual void ShowDisplayState(const EditorDisplayState& state) { (void)state; }
    virtual void ApplyHostValue(double v);
    virtual void ApplyEnteredValue(double v);
    virtual void SetHidden(bool hide);
    virtual void SetGrayed(bool gray);

    virtual bool HitTest(int x, int y) const { return targetRect.Contains(x, y); }
    // Clamps the value and flags a redraw; with notifyPlugin a bound control also sends its value.
    virtual void MarkDirty(bool notifyPlugin);
    // Clamps the value and flags a redraw; answers the clamped value.
    double MarkChanged();
    // Sends the value to the plug-in; with a command, the command first.
    void SendValue(double normalized);
    void SendValueAfterCommand(EditorCommand command, double normalized);
    virtual bool NeedsRedraw() const { return changeCount.load(std::memory_order_acquire) != drawnCount; }
    // The change count before drawing; MarkClean(stamp) after drawing clears only what the drawing saw,
    // so a value that lands from another thread while drawing is still drawn at the next tick.
    uint32_t DirtyStamp() const { return changeCount.load(std::memory_order_acquire); }
    void MarkClean(uint32_t stamp);

    // Asks the editor for the entry field over this control (bound controls only).
    void PromptForValue();

    const PixelBox& Rect() const { return rect; }
    const PixelBox& TargetRect() const { return targetRect; }
    int ParamIdx() const { return paramIdx; }
    bool IsBound() const { return paramIdx >= 0; }
    double Value() const { return value.load(std::memory_order_relaxed); }
    void SetValue(double v) { value.store(v, std::memory_order_relaxed); }
    bool IsHidden() const { return hidden.load(std::memory_order_relaxed); }
    bool IsGrayed() const { return grayed.load(std::memory_order_relaxed); }
    const BlendMode& Blend() const { return blend; }
    void SetBlend(const BlendMode& b) { blend = b; }
    void SetRedrawPending() { redrawPending.store(true, std::memory_order_release); }

  protected:
    EditorWindow& editor;
    PixelBox rect;
    PixelBox targetRect;
    int paramIdx;
    std::atomic<double> value{0.0};
    double clampLo = 0.0;
    double clampHi = 1.0;
    std::atomic<uint32_t> changeCount{1}; // differs from drawnCount while a redraw is due
    uint32_t drawnCount = 0;              // user-interface thread only
    std::atomic<bool> hidden{false};
    std::atomic<bool> grayed{false};
    std::atomic<bool> redrawPending{false};
    BlendMode blend;
    double pluginValue = std::numeric_limits<double>::quiet_NaN(); // last taken over or sent
};

} // namespace tpm
