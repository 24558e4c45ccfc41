#include "tools/hostkit/HostedInstance.h"

#include "tools/hostkit/ClapHostedPlugin.h"
#include "tools/hostkit/HostedPlugin.h"
#if !defined(_WIN32)
#include "tools/hostkit/Lv2HostedPlugin.h"
#endif

namespace
{
// Set on an audio device's callback thread, where writing to stderr could miss the deadline.
thread_local bool realTimeThread = false;

bool EndsWith(std::string path, const std::string& suffix)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
    {
        const char c = path[path.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i])
            return false;
    }
    return true;
}
} // namespace

void HostedInstance::MarkRealTimeThread()
{
    realTimeThread = true;
}

bool HostedInstance::OnRealTimeThread()
{
    return realTimeThread;
}

std::unique_ptr<HostedInstance> OpenHostedInstance(const std::string& modulePath, std::string& error,
                                                   const HostSettings& settings)
{
    if (EndsWith(modulePath, ".clap"))
        return ClapHostedPlugin::Load(modulePath, error, settings);
#if !defined(_WIN32)
    if (EndsWith(modulePath, ".lv2"))
        return Lv2HostedPlugin::Load(modulePath, error, settings);
#endif
    return HostedPlugin::Load(modulePath, error, settings);
}
