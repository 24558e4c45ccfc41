// What a format binding asks of the plug-in's editor (the editor's EditorWindow implements it). The
// plug-in makes the editor; the binding owns it, destroys it before the plug-in, and opens, closes and
// drives its window as the host asks, on the user-interface thread. The editor reaches the plug-in only
// through its own controller, so nothing here runs under the plug-in lock.
#pragma once

#include <cstdint>

namespace tpm
{
class IEditorLink
{
  public:
    virtual ~IEditorLink() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The scale the editor draws at (1 to 3; its layout stays 550x363 logical units). Width() and
    // Height() are the window's physical pixels: the logical size times the scale, rounded.
    virtual double Scale() const { return 1.0; }
    // Sets the scale (limited to 1..3); an open window takes the new size and redraws.
    virtual void SetScale(double scale) { (void)scale; }
    // Told when the user asks for another size from inside the editor (its resize grip): the
    // binding passes it to its host, which answers by calling SetScale or the format's own resize.
    class IResizeRequest
    {
      public:
        virtual bool RequestSize(int width, int height) = 0;

      protected:
        ~IResizeRequest() = default;
    };
    virtual void SetResizeRequest(IResizeRequest* request) { (void)request; }

    // takeFocus: the window takes the keyboard focus itself when it opens and when clicked (hosts that
    // give an editor none of its own).
    virtual bool OpenWindow(void* parent, bool takeFocus) = 0;
    virtual void CloseWindow() = 0;
    // The host's idle call while the window is open (drives the frame tick where the platform has no timer).
    virtual void Idle() {}
    // Readable when the open window has events for Idle; -1 when there is none to watch.
    virtual int EventDescriptor() const { return -1; }
    // The open window's platform handle (X11 window id, HWND); 0 while no window is open.
    virtual uintptr_t NativeWindow() const { return 0; }
    // A wheel turn the host hands over, applied where the cursor is; 0 when the cursor is not over the
    // editor.
    virtual intptr_t WheelAtCursor(float step) = 0;
};
} // namespace tpm
