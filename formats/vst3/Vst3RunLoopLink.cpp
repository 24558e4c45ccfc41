#include "formats/vst3/Vst3RunLoopLink.h"

#include "formats/vst3/Vst3View.h"

namespace tpm
{
void Vst3RunLoopLink::onTimer()
{
    if (view)
        view->Tick();
}

void Vst3RunLoopLink::onFDIsSet(vst3::FileDescriptor fd)
{
    (void)fd;
    if (view)
        view->EventsReady();
}
} // namespace tpm
