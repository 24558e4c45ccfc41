#pragma once

#include "editor/IWindowLayer.h"
#include "editor/x11/FrameClock.h"
#include "editor/x11/X11EntryField.h"
#include "editor/x11/XcbConnection.h"
#include "editor/x11/XcbImagePresenter.h"
#include "editor/x11/XcbKeyboard.h"
#include "editor/x11/XcbPixelFormat.h"

#include <memory>

namespace tpm
{

// The editor's window on X11: a child of the host's window on a display connection of its own, painted
// from the editor's surface, with its input read from that connection at each of the host's idle calls
// (plug-ins on X11 get no thread or timer of the host's, so the frame tick runs from there too).
class X11WindowLayer final : public IWindowLayer
{
  public:
    // Null without a display, with a visual we cannot paint, or when the parent is no window.
    static std::unique_ptr<IWindowLayer> Create(IWindowEvents& events, void* parent, const PixelBox& bounds,
                                                int frameRate);
    ~X11WindowLayer() override;
    X11WindowLayer(const X11WindowLayer&) = delete;
    X11WindowLayer& operator=(const X11WindowLayer&) = delete;

    void Redraw(const PixelBox& region) override;
    void Present(const PixelSurface& surface, const PixelBox& region) override;
    void Idle() override;
    int EventDescriptor() const override;
    uintptr_t NativeHandle() const override { return window_; }
    PixelBox Bounds() const override { return bounds_; }
    void Resize(int width, int height) override;
    bool CursorInWindow(int& x, int& y) const override;
    MouseMod ModifierState() const override;
    void TakeFocus() override;

    bool OpenEntryField(const EntryFieldSpec& field) override;
    std::string EntryFieldText() const override;
    PixelBox EntryFieldBox() const override;
    void CloseEntryField() override;

    bool OpenWebPage(const std::string& address) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;

  private:
    X11WindowLayer(IWindowEvents& events, std::unique_ptr<XcbConnection> conn, const XcbPixelFormat& format,
                   const PixelBox& bounds, int frameRate);
    bool CreateWindow(xcb_window_t parent);
    // Handles everything queued; false when the window has been destroyed under us.
    bool DrainEvents();
    // False when the event says the window is gone.
    bool Dispatch(const xcb_generic_event_t& event);
    void OnButtonPress(const xcb_button_press_event_t& e);
    void OnButtonRelease(const xcb_button_release_event_t& e);
    void OnMotion(const xcb_motion_notify_event_t& e);
    void OnKeyPress(const xcb_key_press_event_t& e);
    void OnFieldOutcome(X11EntryField::Outcome outcome);
    bool IsField(xcb_window_t window) const { return entry_ && entry_->Window() == window; }

    IWindowEvents& events_;
    std::unique_ptr<XcbConnection> conn_;
    XcbPixelFormat format_;
    XcbKeyboard keyboard_;
    PixelBox bounds_;
    FrameClock clock_;
    xcb_window_t window_ = 0;
    bool windowGone_ = false;
    std::unique_ptr<XcbImagePresenter> presenter_;
    std::unique_ptr<X11EntryField> entry_;
    PixelBox exposed_;
    // Mouse capture as the editor knows it: a press in this window holds it until the release.
    bool captured_ = false;
    // The last left press, for double-clicks by timing (server milliseconds).
    bool lastClickValid_ = false;
    xcb_timestamp_t lastClickTime_ = 0;
    int lastClickX_ = 0;
    int lastClickY_ = 0;
};

} // namespace tpm
