// One plug-in instance's editor: the ordered control list, the value paths from the plug-in, the redraw
// cycle over one off-screen surface, the drawing operations controls use, and the platform-free window
// logic (mouse dispatch with capture, wheel gestures with the delayed end-edit, keys, the entry field,
// the web link). The window itself is an IWindowLayer made by a factory, so the same logic runs in a
// Win32 window, an X11 window or headless under tests.
//
// Threads: SetControlsFromPlug, SetControlsFromEntry, HideControls, SetEndEditCountdown and
// ClearEndEditCountdown come from any thread under the plug-in lock and only store into atomics (or a
// text under a tiny lock); everything else runs on the user-interface thread without the plug-in lock.
#pragma once

#include "core/IEditorLink.h"
#include "draw/IBitmapRef.h"
#include "draw/IBlend.h"
#include "draw/IBox.h"
#include "draw/ISurface.h"
#include "draw/ITextStyle.h"
#include "editor/IWindowLayer.h"

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

class IEffectBase;
class IParameter;

namespace tpm
{

class IControl;

class IEditorWindow : public IEditorLink, private IWindowEvents
{
  public:
    static constexpr int kDefaultFrameRate = 24;
    // Room for every control the editor will ever hold, reserved up front so that attaching one later
    // (a drop-down's list) never moves the list another thread is reading.
    static constexpr int kMaxControls = 64;

    // frameRate 0 selects the default of 24 ticks a second.
    IEditorWindow(IEffectBase& plugin, int width, int height, int frameRate,
                  WindowLayerFactory factory = PlatformWindowLayerFactory());
    ~IEditorWindow() override;
    IEditorWindow(const IEditorWindow&) = delete;
    IEditorWindow& operator=(const IEditorWindow&) = delete;

    IEffectBase& Plugin() { return plugin; }
    // The window layer used by the next OpenWindow.
    void SetWindowLayerFactory(WindowLayerFactory factory) { layerFactory = factory; }

    // What the plug-in core asks of its editor.
    int Width() const override { return width; }
    int Height() const override { return height; }
    int FrameRate() const override { return frameRate; }
    void SetControlsFromPlug(int paramIdx, double value, bool normalized) override;
    void SetControlsFromEntry(int paramIdx, double normalized) override;
    void HideControls(int paramIdx, bool hide) override;
    void CreateSurface() override;
    bool OpenWindow(void* parent) override;
    void CloseWindow() override;
    void Idle() override;
    intptr_t WheelAtCursor(float step) override;
    void SetEndEditCountdown(int ticks) override;
    void ClearEndEditCountdown() override;

    // The control list. Controls are attached while the editor is built and, later, on the
    // user-interface thread; the editor owns them and destroys them last first.
    int AttachControl(std::unique_ptr<IControl> control);
    // The background picture as control 0, drawn opaque.
    int AttachBackground(int resourceId, const char* name);
    IBitmapRef LoadBitmap(int resourceId, const char* name, int frames = 1);
    int ControlCount() const { return controlCount.load(std::memory_order_acquire); }
    IControl* GetControl(int index) const;
    void MarkAllDirty();

    // The redraw cycle.
    bool CollectDirtyRect(IBox& box) const;
    void DrawRegion(const IBox& box);
    const ISurface* Surface() const { return surface.get(); }

    // Drawing operations for controls: all draw into the surface, clipped to the region being drawn.
    bool DrawBitmapPart(const IBitmapRef& bitmap, const IBox& destBox, int srcX, int srcY,
                        const IBlend& blend);
    bool DrawBitmapFrame(const IBitmapRef& bitmap, const IBox& destBox, int frame, const IBlend& blend,
                         bool vertical);
    bool DrawRotatedBitmap(const IBitmapRef& bitmap, int cx, int cy, double angle, const IBlend& blend,
                           double srcX, double srcY);
    bool FillRect(uint32_t colour, const IBox& box, const IBlend& blend = {});
    bool DrawText(ITextStyle& style, std::string_view text, const IBox& box);

    // Window state and input, on the user-interface thread.
    bool IsWindowOpen() const { return layer != nullptr; }
    IWindowLayer* WindowLayer() const { return layer.get(); }
    int GetControlAt(int x, int y) const;
    void HandleMouseDown(int x, int y, const IMouseMod& mod);
    void HandleMouseUp(int x, int y, const IMouseMod& mod);
    void HandleMouseDrag(int x, int y, const IMouseMod& mod);
    void HandleMouseDblClick(int x, int y, const IMouseMod& mod);
    void HandleMouseWheel(int x, int y, const IMouseMod& mod, int steps);
    void HandleKeyDown(int x, int y, EditorKey key);
    // Opens the entry field for a parameter over a control; false when refused.
    bool PromptParamInput(IControl* control, const IParameter* param);
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
    int EndEditCountdown() const { return endEditCountdown.load(std::memory_order_acquire); }

  private:
    // What the window reports.
    void OnPaint(const IBox& region) override { DrawRegion(region); }
    void OnFrameTick() override;
    void OnMouseDown(int x, int y, const IMouseMod& mod) override;
    void OnMouseUp(int x, int y, const IMouseMod& mod) override { HandleMouseUp(x, y, mod); }
    void OnMouseDrag(int x, int y, const IMouseMod& mod) override { HandleMouseDrag(x, y, mod); }
    void OnMouseDoubleClick(int x, int y, const IMouseMod& mod) override { HandleMouseDblClick(x, y, mod); }
    void OnMouseWheel(int x, int y, const IMouseMod& mod, int steps) override
    {
        HandleMouseWheel(x, y, mod, steps);
    }
    void OnKeyDown(int x, int y, EditorKey key) override { HandleKeyDown(x, y, key); }
    void OnEntryFocus(bool focused) override;
    void OnEntryTyping() override;
    void OnEntryCommit() override;
    void OnEntryCancel() override;
    void OnWindowClosing() override;

    void EntryStep();
    void CloseEntryField(bool apply);
    void ApplyEnteredText(const std::string& text);
    void CountdownStep();
    void ResetMouse();
    // Closes the window without a word to the plug-in.
    void DropWindow();
    // The surface limited to the region being drawn, and the region's origin.
    ISurface RegionView() const;

    IEffectBase& plugin;
    int width;
    int height;
    int frameRate;
    WindowLayerFactory layerFactory;

    std::vector<std::unique_ptr<IControl>> controls; // kMaxControls slots, the first controlCount used
    std::atomic<int> controlCount{0};
    std::unique_ptr<ISurface> surface;
    IBox drawRegion;

    std::unique_ptr<IWindowLayer> layer;
    int captureIdx = -1;
    int lastMouseX = -1;
    int lastMouseY = -1;
    IControl* entryControl = nullptr;
    const IParameter* entryParam = nullptr;
    int entryState = kEntryIdle;
    bool takesFocus = false; // the host needs the editor to take keyboard focus itself
    std::atomic<int> endEditCountdown{0};
};

} // namespace tpm
