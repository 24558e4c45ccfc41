// For builds without a window system of their own: no editor window can be made.
#include "tools/vsthost/HostWindow.h"

std::unique_ptr<HostWindow> HostWindow::Create(int /*width*/, int /*height*/, const std::string& /*title*/,
                                               std::string& error)
{
    error = "no editor window in this build";
    return nullptr;
}
