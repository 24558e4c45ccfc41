#include "tools/hostkit/HostedInstance.h"

#include "tools/hostkit/ClapHostedPlugin.h"
#include "tools/hostkit/ProductBank.h"
#include "tools/hostkit/Vst2HostedPlugin.h"
#include "tools/hostkit/Vst3HostedPlugin.h"
#include "tools/hostkit/Vst3Module.h"
#if !defined(_WIN32)
#include "tools/hostkit/Lv2HostedPlugin.h"
#endif

#include <cmath>

namespace tpm
{
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

bool HostedInstance::SaveBank(std::vector<uint8_t>& bank, int& currentProgram)
{
    std::vector<uint8_t> state;
    return SaveState(state) && ProductBank::FromState(state, ParamCount(), bank, currentProgram);
}

bool HostedInstance::LoadBank(const std::vector<uint8_t>& bank, int currentProgram)
{
    return LoadState(ProductBank::ToState(bank, ParamCount(), currentProgram));
}

// Formats that state a range in the parameter's units map normalised values linearly onto it.
bool HostedInstance::UnitsOfNormalized(int index, double normalized, double& value)
{
    ParamRange range;
    if (!Range(index, range) || range.isList || !(range.min < range.max))
        return false;
    value = range.min + normalized * (range.max - range.min);
    return true;
}

bool HostedInstance::ValueInUnits(int index, double& value)
{
    return UnitsOfNormalized(index, ParamNormalized(index), value);
}

void HostedInstance::SetValueInUnits(int index, double value)
{
    ParamRange range;
    if (Range(index, range) && range.min < range.max)
        SetParamNormalized(index, (value - range.min) / (range.max - range.min));
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
    if (EndsWith(modulePath, ".clap"))
        return "CLAP";
    if (Vst3Module::IsVst3Path(modulePath))
        return "VST3";
#if !defined(_WIN32)
    if (EndsWith(modulePath, ".lv2"))
        return "LV2";
#endif
    return "VST2";
}

std::unique_ptr<HostedInstance> OpenHostedInstance(const std::string& modulePath, std::string& error,
                                                   const HostSettings& settings)
{
    if (EndsWith(modulePath, ".clap"))
        return ClapHostedPlugin::Load(modulePath, error, settings);
    if (Vst3Module::IsVst3Path(modulePath))
        return Vst3HostedPlugin::Load(modulePath, error, settings);
#if !defined(_WIN32)
    if (EndsWith(modulePath, ".lv2"))
        return Lv2HostedPlugin::Load(modulePath, error, settings);
#endif
    return Vst2HostedPlugin::Load(modulePath, error, settings);
}
} // namespace tpm
