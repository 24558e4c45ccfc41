// The editor's window on Windows: a child window of the host's window that turns Win32 messages into
// IWindowEvents calls (paint, the 24-a-second frame timer, mouse with capture, wheel, keys) and carries
// out the editor's requests (present the off-screen surface, the entry field, web page, message boxes).
// The editor calls TakeFocus() right after opening for hosts that need keyboard focus on the editor;
// the window then also takes focus whenever it is clicked.
#pragma once

#include "editor/IWindowLayer.h"
#include "editor/win32/EntryFieldWin32.h"

#include <memory>
#include <windows.h>

namespace tpm
{

class WindowLayerWin32 final : public IWindowLayer
{
  public:
    static constexpr UINT_PTR kFrameTimerId = 2;

    static std::unique_ptr<IWindowLayer> Create(IWindowEvents& events, void* parent, const PixelBox& bounds,
                                                int frameRate);
    ~WindowLayerWin32() override;
    WindowLayerWin32(const WindowLayerWin32&) = delete;
    WindowLayerWin32& operator=(const WindowLayerWin32&) = delete;

    void Redraw(const PixelBox& region) override;
    void Present(const PixelSurface& surface, const PixelBox& region) override;
    void Idle() override {} // the window's own timer drives the frame tick
    uintptr_t NativeHandle() const override { return reinterpret_cast<uintptr_t>(window_); }
    PixelBox Bounds() const override;
    void Resize(int width, int height) override;
    bool CursorInWindow(int& x, int& y) const override;
    MouseMod ModifierState() const override;
    void TakeFocus() override;

    bool OpenEntryField(const EntryFieldSpec& request) override;
    std::string EntryFieldText() const override;
    PixelBox EntryFieldBox() const override;
    void CloseEntryField() override;

    bool OpenWebPage(const std::string& address) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;

  private:
    WindowLayerWin32(IWindowEvents& events, int frameRate) : events_(events), frameRate_(frameRate) {}
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void BlitToWindow(HDC target, const PixelSurface& surface, const PixelBox& region) const;

    IWindowEvents& events_;
    int frameRate_;
    HWND window_ = nullptr;
    bool focusOnClick_ = false;
    bool painting_ = false;
    bool presented_ = false;
    std::unique_ptr<EntryFieldWin32> entry_;
};

} // namespace tpm
