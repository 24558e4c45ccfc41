// The seam between the platform-free editor and a windowing system. The editor logic (EditorWindow,
// its controls and the redraw cycle) talks to its window only through IWindowLayer, and the window
// reports what happens to it only through IWindowEvents. Implementations: Win32 (the Windows module),
// X11 (the Linux module) and a headless one that tests drive directly. Everything here runs on the
// host's user-interface thread.
#pragma once

#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{

// The modifier record passed with every mouse event: left, right, Shift, Control, Alt.
struct MouseMod
{
    bool L = false;
    bool R = false;
    bool S = false;
    bool C = false;
    bool A = false;
};

// Key codes the editor hands to controls; a platform key without a code is not passed on.
enum class EditorKey : int
{
    Space = 0,
    Up = 1,
    Down = 2,
    Left = 3,
    Right = 4,
    Digit0 = 5,   // "0" to "9" are 5 to 14
    LetterA = 15, // "A" to "Z" are 15 to 40
};

// What an entry field shows: a text box holding `text`, or a drop-down list of `choices` with
// `selected` picked (-1: none). `box` is in window pixels; `scale` is the editor's, which the field's
// text and rows follow.
struct EntryFieldSpec
{
    enum class Kind
    {
        Text,
        List
    };
    Kind kind = Kind::Text;
    PixelBox box;
    std::string text;
    std::vector<std::string> choices;
    int selected = -1;
    double scale = 1.0;
};

// What the window tells the editor. Coordinates are the window's physical pixels; the editor maps them
// to its layout by its scale.
class IWindowEvents
{
  public:
    // The window needs `region` on screen: the editor draws it into its surface and calls Present.
    virtual void OnPaint(const PixelBox& region) = 0;
    // The frame tick (24 a second by default): entry field step, repaint step, countdown step.
    virtual void OnFrameTick() = 0;
    // Mouse buttons: `mod.L` / `mod.R` say which button. The layer captures the mouse on a press
    // and releases it on the release.
    virtual void OnMouseDown(int x, int y, const MouseMod& mod) = 0;
    virtual void OnMouseUp(int x, int y, const MouseMod& mod) = 0;
    // Only while a button is held and the window holds the capture.
    virtual void OnMouseDrag(int x, int y, const MouseMod& mod) = 0;
    virtual void OnMouseDoubleClick(int x, int y, const MouseMod& mod) = 0;
    // Whole notches, truncated toward zero (a partial notch gives 0).
    virtual void OnMouseWheel(int x, int y, const MouseMod& mod, int steps) = 0;
    virtual void OnKeyDown(int x, int y, EditorKey key) = 0;
    // The entry field: focus gained or lost, a key typed into it, and a commit (Enter or a list pick).
    virtual void OnEntryFocus(bool focused) = 0;
    virtual void OnEntryTyping() = 0;
    virtual void OnEntryCommit() = 0;
    // Escape in the entry field: close it without applying its text.
    virtual void OnEntryCancel() = 0;
    // The window is going away on its own (closed by the system or the parent's destruction).
    virtual void OnWindowClosing() = 0;
    // The system's scale for the window changed (it moved to a monitor of another DPI).
    virtual void OnSystemScaleChanged(double scale) = 0;

  protected:
    ~IWindowEvents() = default;
};

// One open editor window on a platform.
class IWindowLayer
{
  public:
    virtual ~IWindowLayer() = default;

    // Marks `region` as needing paint and paints it at once through OnPaint (the repaint step).
    virtual void Redraw(const PixelBox& region) = 0;
    // Copies `region` of the editor's surface to the window (the end of OnPaint).
    virtual void Present(const PixelSurface& surface, const PixelBox& region) = 0;
    // The host's idle call; layers without their own timer run the frame tick from here.
    virtual void Idle() = 0;
    // A file descriptor that becomes readable when the window has events for Idle, for hosts that
    // watch descriptors; -1 where the platform delivers events otherwise.
    virtual int EventDescriptor() const { return -1; }
    // The platform's handle of the window (X11 window id, HWND), for hosts that ask for it.
    virtual uintptr_t NativeHandle() const { return 0; }
    // The window's position relative to its parent and its size.
    virtual PixelBox Bounds() const = 0;
    // Gives the window a new size in physical pixels, keeping its place (the editor's scale changed).
    virtual void Resize(int width, int height) = 0;
    // The cursor in window pixels; false when the cursor is not over this window.
    virtual bool CursorInWindow(int& x, int& y) const = 0;
    // Shift, Control and Alt as they are now (L and R false).
    virtual MouseMod ModifierState() const = 0;
    virtual void TakeFocus() = 0;

    // The entry field: at most one at a time.
    virtual bool OpenEntryField(const EntryFieldSpec& field) = 0;
    // What the field holds now (for a list, the picked text).
    virtual std::string EntryFieldText() const = 0;
    // The field's box in window pixels, so that the repaint step leaves it alone.
    virtual PixelBox EntryFieldBox() const = 0;
    virtual void CloseEntryField() = 0;

    // Web page and message boxes.
    virtual bool OpenWebPage(const std::string& address) = 0;
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

// Makes the window as a child of `parent` (a platform window handle) at `bounds`, ticking
// `frameRate` times a second; null when it cannot be made. Each platform supplies one.
using WindowLayerFactory = std::unique_ptr<IWindowLayer> (*)(IWindowEvents& events, void* parent,
                                                             const PixelBox& bounds, int frameRate);

// The module's own window layer on this platform (Win32 on Windows, X11 on Linux); a factory that
// answers null where the module has none.
WindowLayerFactory PlatformWindowLayerFactory();

// The scale the system asks applications to draw at (1 where it says nothing), for hosts that
// give none of their own. Each platform supplies one; it may talk to the display, so call it when
// an editor opens, not per frame.
double SystemEditorScale();

} // namespace tpm
