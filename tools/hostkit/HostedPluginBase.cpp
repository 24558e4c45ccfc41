#include "tools/hostkit/HostedPluginBase.h"

namespace tpm
{
void HostedPluginBase::Advance(int frames)
{
    // A stopped transport stays where it is, as in a host.
    if (settings.playing || settings.recording)
        samplePosition += frames;
}
} // namespace tpm
