#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <string>

namespace tpm
{

// One display connection of our own. XCB reports protocol errors per connection, so a window the host
// has already destroyed costs us an error reply, never the host process; no process-wide error handler
// is ever touched.
class XcbConnection
{
  public:
    // Connects to $DISPLAY; null (with the reason) when there is no display or it refuses us.
    static std::unique_ptr<XcbConnection> Open(std::string& error);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    xcb_connection_t* Get() const { return conn_; }
    const xcb_screen_t& Screen() const { return *screen_; }
    // False once the server has gone away or the stream is broken.
    bool Healthy() const { return xcb_connection_has_error(conn_) == 0; }
    // Runs a request and reports whether the server accepted it.
    bool Check(xcb_void_cookie_t cookie) const;
    // Waits until the server has handled everything sent so far.
    void Sync() const;
    xcb_atom_t Atom(const char* name) const;

  private:
    XcbConnection(xcb_connection_t* conn, const xcb_screen_t* screen) : conn_(conn), screen_(screen) {}

    xcb_connection_t* conn_;
    const xcb_screen_t* screen_;
};

} // namespace tpm
