#include "editor/x11/XcbConnection.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>

namespace tpm
{

std::unique_ptr<XcbConnection> XcbConnection::Open(std::string& error)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
    {
        error = "no DISPLAY";
        return nullptr;
    }
    int screenNumber = 0;
    xcb_connection_t* conn = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(conn))
    {
        xcb_disconnect(conn);
        error = std::string("cannot connect to display ") + display;
        return nullptr;
    }
    // Programs we start (the web page opener) must not hold our connection open after we close it.
    fcntl(xcb_get_file_descriptor(conn), F_SETFD, FD_CLOEXEC);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    if (it.rem == 0)
    {
        xcb_disconnect(conn);
        error = "display has no such screen";
        return nullptr;
    }
    return std::unique_ptr<XcbConnection>(new XcbConnection(conn, it.data));
}

XcbConnection::~XcbConnection()
{
    xcb_disconnect(conn_);
}

bool XcbConnection::Check(xcb_void_cookie_t cookie) const
{
    xcb_generic_error_t* failure = xcb_request_check(conn_, cookie);
    std::free(failure);
    return failure == nullptr;
}

void XcbConnection::Sync() const
{
    std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
}

xcb_atom_t XcbConnection::Atom(const char* name) const
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        conn_, xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

} // namespace tpm
