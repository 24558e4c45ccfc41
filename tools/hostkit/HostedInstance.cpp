#include "tools/hostkit/HostedInstance.h"

#include "tools/hostkit/ClapHostedPlugin.h"
#include "tools/hostkit/HostedPlugin.h"
#include "tools/hostkit/Vst3HostedPlugin.h"
#include "tools/hostkit/Vst3Module.h"

#include <cmath>

namespace
{
// Set on an audio device's callback thread, where writing to stderr could miss the deadline.
thread_local bool realTimeThread = false;

bool EndsWithClap(const std::string& path)
{
    static const std::string kSuffix = ".clap";
    if (path.size() < kSuffix.size())
        return false;
    for (std::size_t i = 0; i < kSuffix.size(); ++i)
    {
        const char c = path[path.size() - kSuffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kSuffix[i])
            return false;
    }
    return true;
}
} // namespace

TransportPosition PositionAt(const HostSettings& settings, double samplePosition, double sampleRate)
{
    TransportPosition position;
    position.seconds = samplePosition / sampleRate;
    position.beats = position.seconds * settings.tempo / 60.0;
    const double beatsPerBar =
        settings.timeSigDenominator > 0 ? 4.0 * settings.timeSigNumerator / settings.timeSigDenominator : 4.0;
    const double bar = beatsPerBar > 0.0 ? std::floor(position.beats / beatsPerBar) : 0.0;
    position.bar = static_cast<int>(bar);
    position.barStartBeats = bar * beatsPerBar;
    return position;
}

void HostedInstance::MarkRealTimeThread()
{
    realTimeThread = true;
}

bool HostedInstance::OnRealTimeThread()
{
    return realTimeThread;
}

const char* HostedFormatOf(const std::string& modulePath)
{
    if (EndsWithClap(modulePath))
        return "CLAP";
    return Vst3Module::IsVst3Path(modulePath) ? "VST3" : "VST2";
}

std::unique_ptr<HostedInstance> OpenHostedInstance(const std::string& modulePath, std::string& error,
                                                   const HostSettings& settings)
{
    if (EndsWithClap(modulePath))
        return ClapHostedPlugin::Load(modulePath, error, settings);
    if (Vst3Module::IsVst3Path(modulePath))
        return Vst3HostedPlugin::Load(modulePath, error, settings);
    return HostedPlugin::Load(modulePath, error, settings);
}
