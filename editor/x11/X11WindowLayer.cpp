#include "editor/x11/X11WindowLayer.h"

#include "editor/x11/WebPageLauncher.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tpm
{

namespace
{

constexpr xcb_timestamp_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;
constexpr uint8_t kWheelUp = 4;
constexpr uint8_t kWheelDown = 5;

MouseMod ModFromState(uint16_t state)
{
    MouseMod mod;
    mod.L = (state & XCB_BUTTON_MASK_1) != 0;
    mod.R = (state & XCB_BUTTON_MASK_3) != 0;
    mod.S = (state & XCB_MOD_MASK_SHIFT) != 0;
    mod.C = (state & XCB_MOD_MASK_CONTROL) != 0;
    mod.A = (state & XCB_MOD_MASK_1) != 0;
    return mod;
}

} // namespace

std::unique_ptr<IWindowLayer> X11WindowLayer::Create(IWindowEvents& events, void* parent,
                                                     const PixelBox& bounds, int frameRate)
{
    const auto parentWindow = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parent));
    if (parentWindow == 0 || bounds.W() <= 0 || bounds.H() <= 0)
        return nullptr;
    std::string error;
    std::unique_ptr<XcbConnection> conn = XcbConnection::Open(error);
    if (!conn)
        return nullptr;
    const XcbPixelFormat format = XcbPixelFormat::ForRootVisual(conn->Get(), conn->Screen());
    if (!format.Valid())
        return nullptr;
    std::unique_ptr<X11WindowLayer> layer(
        new X11WindowLayer(events, std::move(conn), format, bounds, frameRate));
    if (!layer->CreateWindow(parentWindow))
        return nullptr;
    return layer;
}

X11WindowLayer::X11WindowLayer(IWindowEvents& events, std::unique_ptr<XcbConnection> conn,
                               const XcbPixelFormat& format, const PixelBox& bounds, int frameRate)
    : events_(events), conn_(std::move(conn)), format_(format), bounds_(bounds),
      clock_(frameRate > 0 ? frameRate : 24, FrameClock::Clock::now())
{
}

bool X11WindowLayer::CreateWindow(xcb_window_t parent)
{
    xcb_connection_t* c = conn_->Get();
    window_ = xcb_generate_id(c);
    // Our own visual and colormap, so the window can live in a parent of any depth.
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                   XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_BUTTON_MOTION |
                                   XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                               conn_->Screen().default_colormap};
    const xcb_void_cookie_t made = xcb_create_window_checked(
        c, format_.Depth(), window_, parent, static_cast<int16_t>(bounds_.left),
        static_cast<int16_t>(bounds_.top), static_cast<uint16_t>(bounds_.W()),
        static_cast<uint16_t>(bounds_.H()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, format_.Visual(),
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (!conn_->Check(made))
    {
        windowGone_ = true;
        return false;
    }
    static constexpr char kTitle[] = "twinPulseToneMix";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof(kTitle) - 1, kTitle);
    presenter_ = std::make_unique<XcbImagePresenter>(*conn_, format_, window_, bounds_.W(), bounds_.H());
    keyboard_.Load(c);
    xcb_map_window(c, window_);
    xcb_flush(c);
    return true;
}

X11WindowLayer::~X11WindowLayer()
{
    entry_.reset();
    presenter_.reset();
    if (!windowGone_)
        xcb_destroy_window(conn_->Get(), window_);
    xcb_flush(conn_->Get());
}

void X11WindowLayer::Resize(int width, int height)
{
    if (windowGone_ || width <= 0 || height <= 0 || (width == bounds_.W() && height == bounds_.H()))
        return;
    bounds_ = {bounds_.left, bounds_.top, bounds_.left + width, bounds_.top + height};
    const uint32_t size[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    xcb_configure_window(conn_->Get(), window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    // The presenter's image has the window's size.
    presenter_.reset();
    presenter_ = std::make_unique<XcbImagePresenter>(*conn_, format_, window_, width, height);
    xcb_flush(conn_->Get());
}

void X11WindowLayer::Redraw(const PixelBox& region)
{
    if (!windowGone_)
        events_.OnPaint(region);
}

void X11WindowLayer::Present(const PixelSurface& surface, const PixelBox& region)
{
    if (!windowGone_ && presenter_)
        presenter_->Put(surface, region);
}

int X11WindowLayer::EventDescriptor() const
{
    return xcb_get_file_descriptor(conn_->Get());
}

void X11WindowLayer::Idle()
{
    WebPageLauncher::Instance().Reap();
    if (windowGone_)
        return;
    if (!DrainEvents())
    {
        windowGone_ = true;
        // The editor may close and destroy this layer from here: nothing of it is touched afterwards.
        events_.OnWindowClosing();
        return;
    }
    if (clock_.TickDue(FrameClock::Clock::now()))
        events_.OnFrameTick();
}

bool X11WindowLayer::DrainEvents()
{
    xcb_connection_t* c = conn_->Get();
    // Runs of pointer moves are handled as their last one, as window systems usually coalesce them.
    xcb_motion_notify_event_t lastMotion{};
    bool motionPending = false;
    bool alive = true;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c))
    {
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MOTION_NOTIFY)
        {
            lastMotion = *reinterpret_cast<const xcb_motion_notify_event_t*>(event);
            motionPending = true;
        }
        else
        {
            if (motionPending)
                OnMotion(lastMotion);
            motionPending = false;
            alive = alive && Dispatch(*event);
        }
        std::free(event);
    }
    if (motionPending && alive)
        OnMotion(lastMotion);
    if (!conn_->Healthy())
        return false;
    if (alive && !exposed_.Empty())
    {
        const PixelBox region = exposed_;
        exposed_ = {};
        events_.OnPaint(region);
    }
    return alive;
}

bool X11WindowLayer::Dispatch(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7F)
    {
    case 0: // an error reply for a request on a window that is gone: nothing to do
        break;
    case XCB_EXPOSE:
    {
        const auto& e = reinterpret_cast<const xcb_expose_event_t&>(event);
        if (e.window == window_)
            exposed_ = exposed_.Union({e.x, e.y, e.x + e.width, e.y + e.height});
        else if (IsField(e.window))
            entry_->Paint();
        break;
    }
    case XCB_BUTTON_PRESS:
        OnButtonPress(reinterpret_cast<const xcb_button_press_event_t&>(event));
        break;
    case XCB_BUTTON_RELEASE:
        OnButtonRelease(reinterpret_cast<const xcb_button_release_event_t&>(event));
        break;
    case XCB_KEY_PRESS:
        OnKeyPress(reinterpret_cast<const xcb_key_press_event_t&>(event));
        break;
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT:
    {
        const auto& e = reinterpret_cast<const xcb_focus_in_event_t&>(event);
        const bool real = e.detail != XCB_NOTIFY_DETAIL_POINTER && e.mode != XCB_NOTIFY_MODE_GRAB &&
                          e.mode != XCB_NOTIFY_MODE_UNGRAB;
        if (real && IsField(e.event))
            events_.OnEntryFocus((event.response_type & 0x7F) == XCB_FOCUS_IN);
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
    {
        const auto& e = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        if (e.window == window_)
            bounds_ = {e.x, e.y, e.x + e.width, e.y + e.height};
        break;
    }
    case XCB_DESTROY_NOTIFY:
        return reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window != window_;
    case XCB_MAPPING_NOTIFY:
        keyboard_.Load(conn_->Get());
        break;
    default:
        break;
    }
    return true;
}

void X11WindowLayer::OnButtonPress(const xcb_button_press_event_t& e)
{
    if (IsField(e.event))
    {
        OnFieldOutcome(entry_->OnPress(e.event_x, e.event_y, e.detail));
        return;
    }
    if (e.event != window_)
        return;
    MouseMod mod = ModFromState(e.state);
    if (e.detail == kWheelUp || e.detail == kWheelDown)
    {
        events_.OnMouseWheel(e.event_x, e.event_y, mod, e.detail == kWheelUp ? 1 : -1);
        return;
    }
    if (e.detail == XCB_BUTTON_INDEX_1)
    {
        mod.L = true;
        const bool twice = lastClickValid_ && e.time - lastClickTime_ <= kDoubleClickMs &&
                           std::abs(e.event_x - lastClickX_) <= kDoubleClickSlop &&
                           std::abs(e.event_y - lastClickY_) <= kDoubleClickSlop;
        lastClickValid_ = !twice;
        lastClickTime_ = e.time;
        lastClickX_ = e.event_x;
        lastClickY_ = e.event_y;
        if (twice)
        {
            // As on Windows: the second press of a double-click takes no capture, so it drags nothing.
            captured_ = false;
            events_.OnMouseDoubleClick(e.event_x, e.event_y, mod);
            return;
        }
    }
    else if (e.detail == XCB_BUTTON_INDEX_3)
    {
        mod.R = true;
    }
    else
    {
        return; // middle and sideways-wheel buttons mean nothing here
    }
    captured_ = true;
    events_.OnMouseDown(e.event_x, e.event_y, mod);
}

void X11WindowLayer::OnButtonRelease(const xcb_button_release_event_t& e)
{
    if (e.event != window_ || (e.detail != XCB_BUTTON_INDEX_1 && e.detail != XCB_BUTTON_INDEX_3))
        return;
    // The state still holds the released button; the editor hears the buttons held after it.
    MouseMod mod = ModFromState(e.state);
    (e.detail == XCB_BUTTON_INDEX_1 ? mod.L : mod.R) = false;
    captured_ = mod.L || mod.R;
    events_.OnMouseUp(e.event_x, e.event_y, mod);
}

void X11WindowLayer::OnMotion(const xcb_motion_notify_event_t& e)
{
    const MouseMod mod = ModFromState(e.state);
    if (e.event == window_ && captured_ && (mod.L || mod.R))
        events_.OnMouseDrag(e.event_x, e.event_y, mod);
}

void X11WindowLayer::OnKeyPress(const xcb_key_press_event_t& e)
{
    const uint32_t symbol = keyboard_.Symbol(e.detail, e.state);
    if (IsField(e.event))
    {
        OnFieldOutcome(entry_->OnKey(symbol));
        return;
    }
    if (e.event != window_)
        return;
    if (const std::optional<EditorKey> key = XcbKeyboard::EditorKeyFor(symbol))
        events_.OnKeyDown(e.event_x, e.event_y, *key);
}

void X11WindowLayer::OnFieldOutcome(X11EntryField::Outcome outcome)
{
    switch (outcome)
    {
    case X11EntryField::Outcome::Typing:
        events_.OnEntryTyping();
        break;
    case X11EntryField::Outcome::Commit:
        events_.OnEntryCommit();
        break;
    case X11EntryField::Outcome::Cancel:
        events_.OnEntryCancel();
        break;
    case X11EntryField::Outcome::None:
        break;
    }
}

bool X11WindowLayer::CursorInWindow(int& x, int& y) const
{
    if (windowGone_)
        return false;
    xcb_connection_t* c = conn_->Get();
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, window_), nullptr);
    if (!reply)
        return false;
    const bool inside = reply->same_screen && reply->win_x >= 0 && reply->win_y >= 0 &&
                        reply->win_x < bounds_.W() && reply->win_y < bounds_.H();
    x = reply->win_x;
    y = reply->win_y;
    std::free(reply);
    return inside;
}

MouseMod X11WindowLayer::ModifierState() const
{
    MouseMod mod;
    if (windowGone_)
        return mod;
    xcb_connection_t* c = conn_->Get();
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, window_), nullptr);
    if (!reply)
        return mod;
    mod = ModFromState(reply->mask);
    mod.L = mod.R = false;
    std::free(reply);
    return mod;
}

void X11WindowLayer::TakeFocus()
{
    if (windowGone_)
        return;
    xcb_set_input_focus(conn_->Get(), XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME);
    xcb_flush(conn_->Get());
}

bool X11WindowLayer::OpenEntryField(const EntryFieldSpec& field)
{
    if (entry_ || windowGone_)
        return false;
    entry_ = std::make_unique<X11EntryField>(*conn_, format_, window_, field,
                                             PixelBox{0, 0, bounds_.W(), bounds_.H()});
    xcb_flush(conn_->Get());
    return true;
}

std::string X11WindowLayer::EntryFieldText() const
{
    return entry_ ? entry_->Text() : std::string();
}

PixelBox X11WindowLayer::EntryFieldBox() const
{
    return entry_ ? entry_->Box() : PixelBox{};
}

void X11WindowLayer::CloseEntryField()
{
    // The field's focus reverts to this window when it is destroyed.
    entry_.reset();
}

bool X11WindowLayer::OpenWebPage(const std::string& address)
{
    return WebPageLauncher::Instance().Open(address);
}

bool X11WindowLayer::AskYesNo(const std::string& title, const std::string& text)
{
    // No native dialogs here; a question nobody can answer is answered "no".
    (void)title;
    (void)text;
    return false;
}

void X11WindowLayer::ShowMessage(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

} // namespace tpm
