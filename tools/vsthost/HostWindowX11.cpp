// The host's top-level window on X11, on a display connection of its own (the plug-in opens another).
#include "tools/vsthost/HostWindow.h"

#include "editor/x11/XcbConnection.h"
#include "editor/x11/XcbPixelFormat.h"
#include "tools/vsthost/ProgramBarX11.h"

#include <cstdlib>
#include <cstring>
#include <poll.h>

namespace tpm
{
namespace
{

using tpm::XcbConnection;
using tpm::XcbPixelFormat;

// A plain top-level window that closes on the window manager's delete request; with program names,
// the program bar takes its top and the editor goes into a child window below it.
class HostWindowX11 final : public HostWindow
{
  public:
    HostWindowX11(std::unique_ptr<XcbConnection> conn, const XcbPixelFormat& format, int width, int height,
                  std::vector<std::string> programs)
        : conn_(std::move(conn)), format_(format), width_(width), height_(height),
          programs_(std::move(programs))
    {
    }
    ~HostWindowX11() override
    {
        bar_.reset();
        if (!closed_)
            xcb_destroy_window(conn_->Get(), window_);
        xcb_flush(conn_->Get());
    }
    HostWindowX11(const HostWindowX11&) = delete;
    HostWindowX11& operator=(const HostWindowX11&) = delete;

    bool Open(const std::string& title, std::string& error);
    void* ParentHandle() override { return reinterpret_cast<void*>(static_cast<uintptr_t>(editorParent_)); }
    bool Resize(int width, int height) override;
    void AllowUserResize(int minWidth, int minHeight, int maxWidth, int maxHeight) override;
    bool TakeUserSize(int& width, int& height) override;
    bool PumpEvents(int waitMs) override;
    bool CapturePixels(std::vector<uint32_t>& argb, int& width, int& height, std::string& error) override;
    void ScreenOrigin(int& x, int& y) override;
    void ShowProgram(int index, const std::string& name) override;
    int TakeProgramChoice() override { return bar_ ? bar_->TakeChoice() : -1; }

  private:
    // Handles every event that has arrived; true when there was any.
    bool Drain();
    void SetTitle(const std::string& title);

    std::unique_ptr<XcbConnection> conn_;
    XcbPixelFormat format_;
    int width_;
    int height_;
    std::vector<std::string> programs_;
    std::string title_;
    int shownIndex_ = -1; // what the bar shows, for a bar made anew at another width
    std::string shownName_;
    xcb_window_t window_ = 0;
    xcb_window_t editorParent_ = 0; // the top-level window itself when there is no bar
    std::unique_ptr<ProgramBarX11> bar_;
    xcb_atom_t deleteAtom_ = XCB_ATOM_NONE;
    bool closed_ = false;
    int userWidth_ = 0; // the size the user dragged the window to, until taken (0: none)
    int userHeight_ = 0;
};

bool HostWindowX11::Open(const std::string& title, std::string& error)
{
    xcb_connection_t* c = conn_->Get();
    const xcb_screen_t& screen = conn_->Screen();
    const int barHeight = programs_.empty() ? 0 : ProgramBarX11::kHeight;
    window_ = xcb_generate_id(c);
    const uint32_t values[] = {screen.black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    if (!conn_->Check(xcb_create_window_checked(
            c, XCB_COPY_FROM_PARENT, window_, screen.root, 0, 0, static_cast<uint16_t>(width_),
            static_cast<uint16_t>(height_ + barHeight), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual,
            XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values)))
    {
        error = "cannot create the host window";
        closed_ = true;
        return false;
    }
    title_ = title;
    SetTitle(title);
    editorParent_ = window_;
    if (!programs_.empty())
    {
        editorParent_ = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, editorParent_, window_, 0, static_cast<int16_t>(barHeight),
                          static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual, XCB_CW_BACK_PIXEL, values);
        xcb_map_window(c, editorParent_);
        bar_ = std::make_unique<ProgramBarX11>(*conn_, format_, window_, width_, height_, programs_);
    }
    const xcb_atom_t protocols = conn_->Atom("WM_PROTOCOLS");
    deleteAtom_ = conn_->Atom("WM_DELETE_WINDOW");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, protocols, XCB_ATOM_ATOM, 32, 1, &deleteAtom_);
    xcb_map_window(c, window_);
    conn_->Sync();
    return true;
}

bool HostWindowX11::Resize(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192 || closed_)
        return false;
    if (width == width_ && height == height_)
        return true;
    xcb_connection_t* c = conn_->Get();
    width_ = width;
    height_ = height;
    const int barHeight = programs_.empty() ? 0 : ProgramBarX11::kHeight;
    const uint32_t outer[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height + barHeight)};
    xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, outer);
    if (bar_)
    {
        const uint32_t inner[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
        xcb_configure_window(c, editorParent_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, inner);
        // The bar lays itself out for one width: a new one replaces it.
        bar_.reset();
        bar_ = std::make_unique<ProgramBarX11>(*conn_, format_, window_, width_, height_, programs_);
        if (shownIndex_ >= 0)
            bar_->Show(shownIndex_, shownName_);
    }
    conn_->Sync();
    return true;
}

void HostWindowX11::AllowUserResize(int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    // WM_NORMAL_HINTS as ICCCM lays it out: flags, four obsolete fields, then the sizes; the base
    // size (the program bar) is taken off before the aspect ratio is applied.
    enum : uint32_t
    {
        kMinSize = 1u << 4,
        kMaxSize = 1u << 5,
        kAspect = 1u << 7,
        kBaseSize = 1u << 8,
    };
    const int barHeight = programs_.empty() ? 0 : ProgramBarX11::kHeight;
    uint32_t hints[18] = {};
    hints[0] = kMinSize | kMaxSize | kAspect | kBaseSize;
    hints[5] = static_cast<uint32_t>(minWidth);
    hints[6] = static_cast<uint32_t>(minHeight + barHeight);
    hints[7] = static_cast<uint32_t>(maxWidth);
    hints[8] = static_cast<uint32_t>(maxHeight + barHeight);
    hints[11] = hints[13] = static_cast<uint32_t>(minWidth);
    hints[12] = hints[14] = static_cast<uint32_t>(minHeight);
    hints[15] = 0;
    hints[16] = static_cast<uint32_t>(barHeight);
    xcb_change_property(conn_->Get(), XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    xcb_flush(conn_->Get());
}

bool HostWindowX11::TakeUserSize(int& width, int& height)
{
    if (userWidth_ <= 0 || userHeight_ <= 0)
        return false;
    // The window has that size now, whatever the editor makes of it.
    width = width_ = userWidth_;
    height = height_ = userHeight_;
    userWidth_ = userHeight_ = 0;
    return true;
}

void HostWindowX11::SetTitle(const std::string& title)
{
    xcb_change_property(conn_->Get(), XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.data());
}

void HostWindowX11::ShowProgram(int index, const std::string& name)
{
    if (!bar_)
        return;
    bar_->Show(index, name);
    shownIndex_ = index;
    shownName_ = name;
    SetTitle(title_ + " - " + name); // the program in the task bar, too
}

bool HostWindowX11::PumpEvents(int waitMs)
{
    xcb_connection_t* c = conn_->Get();
    xcb_flush(c);
    // Events already read while waiting for a reply are handled without waiting for more.
    if (!Drain() && !closed_ && waitMs > 0)
    {
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, waitMs);
        Drain();
    }
    xcb_flush(c);
    return !closed_ && conn_->Healthy();
}

bool HostWindowX11::Drain()
{
    xcb_connection_t* c = conn_->Get();
    bool any = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c))
    {
        any = true;
        const uint8_t type = event->response_type & 0x7F;
        if (bar_ && bar_->Handle(*event))
        {
            std::free(event);
            continue;
        }
        if (type == XCB_CLIENT_MESSAGE &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[0] == deleteAtom_)
        {
            xcb_destroy_window(c, window_);
            closed_ = true;
        }
        else if (type == XCB_DESTROY_NOTIFY &&
                 reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == window_)
        {
            closed_ = true;
        }
        else if (type == XCB_CONFIGURE_NOTIFY)
        {
            // A size that is not the one we set is the user's (our own resizes set it first).
            const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            const int barHeight = programs_.empty() ? 0 : ProgramBarX11::kHeight;
            const int clientHeight = configure->height - barHeight;
            if (configure->window == window_ && (configure->width != width_ || clientHeight != height_) &&
                clientHeight > 0)
            {
                userWidth_ = configure->width;
                userHeight_ = clientHeight;
            }
        }
        std::free(event);
    }
    return any;
}

bool HostWindowX11::CapturePixels(std::vector<uint32_t>& argb, int& width, int& height, std::string& error)
{
    xcb_connection_t* c = conn_->Get();
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, editorParent_, 0, 0,
                                          static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), ~0u),
                            nullptr);
    if (!reply)
    {
        error = "cannot read the host window's pixels";
        return false;
    }
    const uint8_t* data = xcb_get_image_data(reply);
    const int rowBytes = format_.RowBytes(width_);
    if (xcb_get_image_data_length(reply) < rowBytes * height_)
    {
        std::free(reply);
        error = "short image from the server";
        return false;
    }
    argb.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        format_.ToArgb(data + static_cast<size_t>(y) * rowBytes, width_,
                       argb.data() + static_cast<size_t>(y) * width_);
    std::free(reply);
    width = width_;
    height = height_;
    return true;
}

void HostWindowX11::ScreenOrigin(int& x, int& y)
{
    x = 0;
    y = 0;
    xcb_connection_t* c = conn_->Get();
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, editorParent_, conn_->Screen().root, 0, 0), nullptr);
    if (!reply)
        return;
    x = reply->dst_x;
    y = reply->dst_y;
    std::free(reply);
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::Create(int width, int height, const std::string& title,
                                               std::string& error, const std::vector<std::string>& programs)
{
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
    {
        error = "bad window size";
        return nullptr;
    }
    std::unique_ptr<XcbConnection> conn = XcbConnection::Open(error);
    if (!conn)
        return nullptr;
    const XcbPixelFormat format = XcbPixelFormat::ForRootVisual(conn->Get(), conn->Screen());
    if (!format.Valid())
    {
        error = "the display's visual is not a true-colour one";
        return nullptr;
    }
    auto window = std::make_unique<HostWindowX11>(std::move(conn), format, width, height, programs);
    if (!window->Open(title, error))
        return nullptr;
    return window;
}
} // namespace tpm
