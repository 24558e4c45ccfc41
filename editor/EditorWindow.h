// One plug-in instance's editor: the ordered control list, the redraw cycle over one off-screen surface,
// the drawing operations controls use, and the platform-free window logic (mouse dispatch with capture,
// wheel gestures with the delayed end-edit, keys, the entry field, the web link). The window itself is an
// IWindowLayer made by a factory, so the same logic runs in a Win32 window, an X11 window or headless
// under tests.
//
// Scale: the layout, the controls and everything they ask for are in logical units (the editor's
// 550x363); the surface and the window are that times the scale, in physical pixels. The drawing
// operations map to physical pixels here, and window input is mapped back before it reaches a control.
//
// Threads: everything runs on the user-interface thread. The editor reaches the plug-in only through its
// controller: at each frame tick it reads the parameter values and the display state and takes over what
// changed elsewhere; the user's changes go out as gestures.
#pragma once

#include "draw/BitmapRef.h"
#include "draw/BlendMode.h"
#include "draw/PixelBox.h"
#include "draw/PixelSurface.h"
#include "draw/TextStyle.h"
#include "editor/IEditorController.h"
#include "editor/IEditorLink.h"
#include "editor/IWindowLayer.h"
#include "editor/ResizeGrip.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> maps these names to their A/W variants; keep ours intact in files that include both.
#ifdef DrawText
#undef DrawText
#endif
#ifdef LoadBitmap
#undef LoadBitmap
#endif

namespace tpm
{

class Control;

class EditorWindow : public IEditorLink, private IWindowEvents
{
  public:
    static constexpr int kDefaultFrameRate = 24;
    // Room for every control the editor will ever hold, reserved up front so that attaching one later
    // (a drop-down's list) never moves the list another thread is reading.
    static constexpr int kMaxControls = 64;

    // frameRate 0 selects the default of 24 ticks a second.
    EditorWindow(IEditorController& controller, int width, int height, int frameRate,
                 WindowLayerFactory factory = PlatformWindowLayerFactory());
    ~EditorWindow() override;
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    IEditorController& Controller() { return controller; }
    // The window layer used by the next OpenWindow.
    void SetWindowLayerFactory(WindowLayerFactory factory) { layerFactory = factory; }

    // What the format binding asks of its editor.
    int Width() const override { return ToPhysical(width); }
    int Height() const override { return ToPhysical(height); }
    double Scale() const override { return scale; }
    void SetScale(double scale) override;
    void SetResizeRequest(IResizeRequest* request) override;
    bool OpenWindow(void* parent, bool takeFocus) override;
    void CloseWindow() override;
    void Idle() override;
    int EventDescriptor() const override;
    uintptr_t NativeWindow() const override { return layer ? layer->NativeHandle() : 0; }
    intptr_t WheelAtCursor(float step) override;

    int FrameRate() const { return frameRate; }
    int LogicalWidth() const { return width; }
    int LogicalHeight() const { return height; }
    // Logical units to physical pixels (edges rounded to the nearest pixel, so boxes tile), and
    // physical pixels back to the logical units that hold them.
    int ToPhysical(double v) const;
    PixelBox ToPhysical(const PixelBox& box) const;
    int ToLogical(int v) const;
    PixelBox ToLogical(const PixelBox& box) const;
    void CreateSurface();
    // Takes over the parameter values and the display state the plug-in holds now (at every frame tick,
    // and once when the editor is built).
    void ShowPluginState();

    // The control list. Controls are attached while the editor is built and, later, on the
    // user-interface thread; the editor owns them and destroys them last first.
    int AttachControl(std::unique_ptr<Control> control);
    // The background picture as control 0, drawn opaque.
    int AttachBackground(int resourceId, const char* name);
    BitmapRef LoadBitmap(int resourceId, const char* name, int frames = 1);
    int ControlCount() const { return controlCount.load(std::memory_order_acquire); }
    Control* GetControl(int index) const;
    void MarkAllDirty();

    // The redraw cycle; boxes in logical units.
    bool CollectDirtyRect(PixelBox& box) const;
    void DrawRegion(const PixelBox& box);
    const PixelSurface* Surface() const { return surface.get(); }

    // Drawing operations for controls: all draw into the surface, clipped to the region being drawn.
    bool DrawBitmapPart(const BitmapRef& bitmap, const PixelBox& destBox, int srcX, int srcY,
                        const BlendMode& blend);
    bool DrawBitmapFrame(const BitmapRef& bitmap, const PixelBox& destBox, int frame, const BlendMode& blend,
                         bool vertical);
    bool DrawRotatedBitmap(const BitmapRef& bitmap, int cx, int cy, double angle, const BlendMode& blend,
                           double srcX, double srcY);
    bool FillRect(uint32_t colour, const PixelBox& box, const BlendMode& blend = {});
    bool DrawText(TextStyle& style, std::string_view text, const PixelBox& box);

    // Window state and input, on the user-interface thread; coordinates in logical units.
    bool IsWindowOpen() const { return layer != nullptr; }
    IWindowLayer* WindowLayer() const { return layer.get(); }
    int GetControlAt(int x, int y) const;
    void HandleMouseDown(int x, int y, const MouseMod& mod);
    void HandleMouseUp(int x, int y, const MouseMod& mod);
    void HandleMouseDrag(int x, int y, const MouseMod& mod);
    void HandleMouseDblClick(int x, int y, const MouseMod& mod);
    void HandleMouseWheel(int x, int y, const MouseMod& mod, int steps);
    void HandleKeyDown(int x, int y, EditorKey key);
    // Opens the entry field for a control's parameter over it; false when refused.
    bool PromptParamInput(Control* control);
    // True when the page was handed to the system.
    bool OpenWebPage(const std::string& address, const std::string& title, const std::string& confirmText,
                     const std::string& failText);

    enum EntryState
    {
        kEntryIdle = 0,
        kEntryEditing = 1,
        kEntryCancel = 2,
        kEntryCommit = 3,
    };
    int GetEntryState() const { return entryState; }
    bool IsEntryOpen() const { return entryControl != nullptr; }
    // Frame ticks until the wheel gesture still open ends (0: none open).
    int EndEditCountdown() const { return endEditCountdown; }

    // Gestures on a control's parameter. A begin first ends the wheel gesture still open.
    void BeginGesture(int paramIdx);
    void EndGesture(int paramIdx);

  private:
    // What the window reports.
    void OnPaint(const PixelBox& region) override { DrawRegion(ToLogical(region)); }
    void OnFrameTick() override;
    void OnMouseDown(int x, int y, const MouseMod& mod) override;
    void OnMouseUp(int x, int y, const MouseMod& mod) override;
    void OnMouseDrag(int x, int y, const MouseMod& mod) override;
    void OnMouseDoubleClick(int x, int y, const MouseMod& mod) override
    {
        HandleMouseDblClick(ToLogical(x), ToLogical(y), mod);
    }
    void OnMouseWheel(int x, int y, const MouseMod& mod, int steps) override
    {
        HandleMouseWheel(ToLogical(x), ToLogical(y), mod, steps);
    }
    void OnKeyDown(int x, int y, EditorKey key) override { HandleKeyDown(ToLogical(x), ToLogical(y), key); }
    void OnEntryFocus(bool focused) override;
    void OnEntryTyping() override;
    void OnEntryCommit() override;
    void OnEntryCancel() override;
    void OnWindowClosing() override;
    void OnSystemScaleChanged(double scale) override;

    void EntryStep();
    void CloseEntryField(bool apply);
    void ApplyEnteredText(const std::string& text);
    void CountdownStep();
    // Ends the wheel gesture still open, if any.
    void EndWheelGesture();
    void ResetMouse();
    // Closes the window without a word to the plug-in.
    void DropWindow();
    // The surface limited to the region being drawn, and the region's origin.
    PixelSurface RegionView() const;
    bool GripShown() const { return resizeRequest != nullptr; }

    IEditorController& controller;
    int width; // logical
    int height;
    double scale = 1.0;
    int frameRate;
    WindowLayerFactory layerFactory;

    std::vector<std::unique_ptr<Control>> controls; // kMaxControls slots, the first controlCount used
    std::atomic<int> controlCount{0};
    std::unique_ptr<PixelSurface> surface;
    PixelBox drawRegion;     // logical
    PixelBox physicalRegion; // the same in the surface's pixels
    IResizeRequest* resizeRequest = nullptr;
    ResizeGrip grip;

    std::unique_ptr<IWindowLayer> layer;
    int captureIdx = -1;
    int lastMouseX = -1;
    int lastMouseY = -1;
    Control* entryControl = nullptr;
    int entryState = kEntryIdle;
    bool takesFocus = false; // the host needs the editor to take keyboard focus itself
    int endEditCountdown = 0;
    int wheelGestureParam = -1; // the parameter whose wheel gesture is still open
    uint64_t shownHidden = 0;   // the hidden-parameter set last applied (controls start shown)
};

} // namespace tpm
