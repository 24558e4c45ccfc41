// The Linux module's window layer is the X11 one.
#include "editor/IWindowLayer.h"
#include "editor/x11/X11WindowLayer.h"

namespace tpm
{

WindowLayerFactory PlatformWindowLayerFactory()
{
    return &X11WindowLayer::Create;
}

} // namespace tpm
