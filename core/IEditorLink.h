// What the plug-in core asks of its editor (the editor's IEditorWindow implements it). The editor
// lives as long as the plug-in; its window comes and goes with the host's open and close requests.
// The value paths (SetControlsFromPlug, SetControlsFromEntry, HideControls) may be called from any
// thread under the plug-in lock and only store; everything else runs on the user-interface thread
// without the plug-in lock.
#pragma once

#include <cstdint>

class IEditorLink
{
  public:
    virtual ~IEditorLink() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int FrameRate() const = 0;

    // Value updates from the plug-in: only stored, drawn at the next timer tick.
    virtual void SetControlsFromPlug(int paramIdx, double value, bool normalized) = 0;
    // Applies a value as if the user had entered it (reaches the plug-in and the host).
    virtual void SetControlsFromEntry(int paramIdx, double normalized) = 0;
    virtual void HideControls(int paramIdx, bool hide) = 0;

    virtual void CreateSurface() = 0;
    virtual bool OpenWindow(void* parent) = 0;
    virtual void CloseWindow() = 0;
    // The host's idle call while the window is open (drives the frame tick where the platform has no timer).
    virtual void Idle() {}
    virtual intptr_t WheelAtCursor(float step) = 0;

    virtual void SetEndEditCountdown(int ticks) = 0;
    virtual void ClearEndEditCountdown() = 0;
};
