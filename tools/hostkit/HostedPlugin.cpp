#include "tools/hostkit/HostedPlugin.h"

#include <cstdio>
#include <cstring>

namespace
{
// The plug-in may call back while its entry point is still running, before we know its record.
thread_local HostedPlugin* constructing = nullptr;
// Set on an audio device's callback thread, where writing to stderr could miss the deadline.
thread_local bool realTimeThread = false;

void CopyBounded(void* ptr, const std::string& text, std::size_t limit)
{
    if (!ptr)
        return;
    std::size_t n = text.size() < limit - 1 ? text.size() : limit - 1;
    std::memcpy(ptr, text.data(), n);
    static_cast<char*>(ptr)[n] = '\0';
}

const char* OpcodeName(int32_t opcode)
{
    switch (opcode)
    {
    case vst::audioMasterAutomate:
        return "automate";
    case vst::audioMasterBeginEdit:
        return "begin-edit";
    case vst::audioMasterEndEdit:
        return "end-edit";
    case vst::audioMasterUpdateDisplay:
        return "update-display";
    default:
        return nullptr;
    }
}
} // namespace

std::unique_ptr<HostedPlugin> HostedPlugin::Load(const std::string& modulePath, std::string& error,
                                                 const HostSettings& settings)
{
    auto library = ModuleLibrary::Open(modulePath, error);
    if (!library)
        return nullptr;
    auto plugin = Create(library->Entry(), error, settings);
    if (plugin)
        plugin->library = std::move(library);
    else
        error = "module '" + modulePath + "': " + error;
    return plugin;
}

std::unique_ptr<HostedPlugin> HostedPlugin::Create(VstEntryProc entry, std::string& error,
                                                   const HostSettings& settings)
{
    std::unique_ptr<HostedPlugin> plugin(new HostedPlugin);
    plugin->settings = settings;
    constructing = plugin.get();
    AEffect* effect = entry ? entry(&HostedPlugin::Callback) : nullptr;
    constructing = nullptr;
    if (!effect)
    {
        error = "the entry point returned no plug-in";
        return nullptr;
    }
    if (effect->magic != vst::kEffectMagic)
    {
        error = "the entry point returned something that is not a VST effect";
        return nullptr;
    }
    effect->user = plugin.get();
    plugin->effect = effect;
    plugin->entry = entry;
    return plugin;
}

HostedPlugin::~HostedPlugin()
{
    Close();
}

void HostedPlugin::Close()
{
    spare.reset();
    if (!effect)
        return;
    effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

intptr_t HostedPlugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

void HostedPlugin::Start()
{
    Dispatch(vst::effOpen);
    Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    Dispatch(vst::effSetBlockSize, 0, settings.blockSize);
    Dispatch(vst::effMainsChanged, 0, 1);
}

std::string HostedPlugin::ParamName(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamName, index, 0, text);
    return text;
}

std::string HostedPlugin::ParamLabel(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamLabel, index, 0, text);
    return text;
}

std::string HostedPlugin::ParamDisplay(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamDisplay, index, 0, text);
    return text;
}

std::string HostedPlugin::ProgramName(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetProgramNameIndexed, index, 0, text);
    return text;
}

bool HostedPlugin::SetParamText(int index, const std::string& text)
{
    std::string copy = text;
    return Dispatch(vst::effString2Parameter, index, 0, copy.data()) == 1;
}

int HostedPlugin::FindParam(const std::string& name)
{
    for (int i = 0; effect && i < effect->numParams; ++i)
        if (ParamName(i) == name)
            return i;
    return -1;
}

HostedPlugin* HostedPlugin::Spare()
{
    if (!spare && entry)
    {
        HostSettings quiet = settings;
        quiet.logToStderr = false;
        std::string error;
        spare = Create(entry, error, quiet);
        if (spare)
            spare->Dispatch(vst::effOpen);
    }
    return spare.get();
}

void HostedPlugin::Advance(int frames)
{
    if (settings.playing || settings.recording)
        samplePosition += frames;
}

void HostedPlugin::MarkRealTimeThread()
{
    realTimeThread = true;
}

std::vector<HostCall> HostedPlugin::Calls() const
{
    std::lock_guard<std::mutex> guard(callsMutex);
    return calls;
}

void HostedPlugin::ClearCalls()
{
    std::lock_guard<std::mutex> guard(callsMutex);
    calls.clear();
}

int HostedPlugin::CountCalls(int32_t opcode) const
{
    std::lock_guard<std::mutex> guard(callsMutex);
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode ? 1 : 0;
    return n;
}

intptr_t HostedPlugin::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt)
{
    if (opcode == vst::audioMasterVersion)
        return 2400;
    HostedPlugin* host = effect && effect->user ? static_cast<HostedPlugin*>(effect->user) : constructing;
    return host ? host->Answer(opcode, index, value, ptr, opt) : 0;
}

intptr_t HostedPlugin::Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (settings.recordCalls)
    {
        std::lock_guard<std::mutex> guard(callsMutex);
        calls.push_back(HostCall{opcode, index, value, opt});
    }
    if (settings.logToStderr && !realTimeThread)
        if (const char* name = OpcodeName(opcode))
        {
            if (opcode == vst::audioMasterAutomate)
                std::fprintf(stderr, "host: %s parameter %d = %.6f\n", name, index, static_cast<double>(opt));
            else
                std::fprintf(stderr, "host: %s parameter %d\n", name, index);
        }
    switch (opcode)
    {
    case vst::audioMasterGetTime:
    {
        if (!settings.timeInfoAvailable)
            return 0;
        timeInfo = VstTimeInfo{};
        timeInfo.samplePos = samplePosition;
        timeInfo.sampleRate = settings.sampleRate;
        timeInfo.tempo = settings.tempo;
        timeInfo.ppqPos = samplePosition / settings.sampleRate * settings.tempo / 60.0;
        timeInfo.timeSigNumerator = settings.timeSigNumerator;
        timeInfo.timeSigDenominator = settings.timeSigDenominator;
        timeInfo.flags = vst::kVstPpqPosValid | vst::kVstTimeSigValid;
        if (settings.tempoValid)
            timeInfo.flags |= vst::kVstTempoValid;
        if (settings.playing)
            timeInfo.flags |= vst::kVstTransportPlaying;
        if (settings.recording)
            timeInfo.flags |= vst::kVstTransportRecording;
        return reinterpret_cast<intptr_t>(&timeInfo);
    }
    case vst::audioMasterGetSampleRate:
        return static_cast<intptr_t>(settings.sampleRate);
    case vst::audioMasterGetBlockSize:
        return settings.blockSize;
    case vst::audioMasterGetProductString:
        CopyBounded(ptr, settings.productName, vst::kVstMaxProductStrLen);
        return ptr ? 1 : 0;
    case vst::audioMasterGetVendorString:
        CopyBounded(ptr, settings.vendorName, vst::kVstMaxVendorStrLen);
        return ptr ? 1 : 0;
    case vst::audioMasterGetVendorVersion:
        return settings.vendorVersion;
    default:
        (void)value;
        return 0;
    }
}
