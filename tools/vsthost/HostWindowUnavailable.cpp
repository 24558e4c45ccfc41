// Platforms without a host window yet: the editor command says so instead of opening anything.
#include "tools/vsthost/HostWindow.h"

std::unique_ptr<HostWindow> HostWindow::Create(int /*width*/, int /*height*/, const std::string& /*title*/,
                                               std::string& error)
{
    error = "the editor needs the Win64 build for now";
    return nullptr;
}
