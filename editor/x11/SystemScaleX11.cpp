// The system's scale on X11: the Xft.dpi resource desktops set for their scaling (96 dots an inch
// is 1x), else GDK_SCALE as GTK reads it, else 1.
#include "editor/IWindowLayer.h"
#include "editor/x11/XcbConnection.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tpm
{

namespace
{
constexpr double kBaseDpi = 96.0;

// The value of `name` in the root window's resource list ("Xft.dpi:\t192\n..."); 0 without one.
double ResourceNumber(const XcbConnection& connection, std::string_view name)
{
    xcb_connection_t* conn = connection.Get();
    xcb_get_property_cookie_t cookie = xcb_get_property(
        conn, 0, connection.Screen().root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 16);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(conn, cookie, nullptr);
    if (!reply)
        return 0.0;
    const std::string resources(static_cast<const char*>(xcb_get_property_value(reply)),
                                static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    std::size_t line = 0;
    while (line < resources.size())
    {
        const std::size_t end = std::min(resources.find('\n', line), resources.size());
        const std::string_view entry(resources.data() + line, end - line);
        if (entry.starts_with(name) && entry.size() > name.size() && entry[name.size()] == ':')
            return std::atof(std::string(entry.substr(name.size() + 1)).c_str());
        line = end + 1;
    }
    return 0.0;
}
} // namespace

double SystemEditorScale()
{
    std::string error;
    if (const auto connection = XcbConnection::Open(error))
    {
        const double dpi = ResourceNumber(*connection, "Xft.dpi");
        if (dpi > 0.0)
            return dpi / kBaseDpi;
    }
    const char* gdkScale = std::getenv("GDK_SCALE");
    const double scale = gdkScale ? std::atof(gdkScale) : 0.0;
    return scale > 0.0 ? scale : 1.0;
}

} // namespace tpm
