// Builds without a window layer of their own (Linux until its X11 layer exists): the factory makes no
// window, so the host's open request answers 0 while the editor's logic and drawing stay available.
#include "editor/IWindowLayer.h"

namespace tpm
{

namespace
{
std::unique_ptr<IWindowLayer> NoWindow(IWindowEvents&, void*, const IBox&, int)
{
    return nullptr;
}
} // namespace

WindowLayerFactory PlatformWindowLayerFactory()
{
    return &NoWindow;
}

} // namespace tpm
