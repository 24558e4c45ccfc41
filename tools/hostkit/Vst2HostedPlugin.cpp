#include "tools/hostkit/Vst2HostedPlugin.h"

#include "draw/TextEncoding.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tpm
{
namespace
{
// The plug-in may call back while its entry point is still running, before we know its record.
thread_local Vst2HostedPlugin* constructing = nullptr;

// The answer of the plug-in's vendor-specific requests when it understood them.
constexpr intptr_t kVendorAnswer = 0xBEEF;
constexpr int kVendorIsTwoValued = 8;
constexpr std::size_t kValueTextSize = 256;

// A whole, finite number and nothing else; reads the text in place, so nothing is allocated.
bool ParseNumber(const char* text, double& value)
{
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc{} && result.ptr == end && std::isfinite(value);
}

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

std::unique_ptr<Vst2HostedPlugin> Vst2HostedPlugin::Load(const std::string& modulePath, std::string& error,
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

std::unique_ptr<Vst2HostedPlugin> Vst2HostedPlugin::Create(VstEntryProc entry, std::string& error,
                                                           const HostSettings& settings)
{
    std::unique_ptr<Vst2HostedPlugin> plugin(new Vst2HostedPlugin);
    plugin->settings = settings;
    constructing = plugin.get();
    AEffect* effect = entry ? entry(&Vst2HostedPlugin::Callback) : nullptr;
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

Vst2HostedPlugin::~Vst2HostedPlugin()
{
    Close();
}

void Vst2HostedPlugin::Close()
{
    spare.reset();
    if (!effect)
        return;
    effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

intptr_t Vst2HostedPlugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

void Vst2HostedPlugin::Start()
{
    Dispatch(vst::effOpen);
    Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    Dispatch(vst::effSetBlockSize, 0, settings.blockSize);
    Dispatch(vst::effMainsChanged, 0, 1);
}

std::string Vst2HostedPlugin::ParamName(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamName, index, 0, text);
    return text;
}

std::string Vst2HostedPlugin::ParamLabel(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamLabel, index, 0, text);
    return text;
}

std::string Vst2HostedPlugin::ParamDisplay(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetParamDisplay, index, 0, text);
    return text;
}

std::string Vst2HostedPlugin::ProgramName(int index)
{
    char text[256] = {};
    Dispatch(vst::effGetProgramNameIndexed, index, 0, text);
    return tpm::Utf8FromProductText(text);
}

bool Vst2HostedPlugin::SetParamText(int index, const std::string& text)
{
    std::string copy = text;
    return Dispatch(vst::effString2Parameter, index, 0, copy.data()) == 1;
}

int Vst2HostedPlugin::FindParam(const std::string& name)
{
    for (int i = 0; effect && i < effect->numParams; ++i)
        if (ParamName(i) == name)
            return i;
    return -1;
}

Vst2HostedPlugin* Vst2HostedPlugin::Spare()
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

std::vector<HostCall> Vst2HostedPlugin::Calls() const
{
    std::lock_guard<std::mutex> guard(callsMutex);
    return calls;
}

void Vst2HostedPlugin::ClearCalls()
{
    std::lock_guard<std::mutex> guard(callsMutex);
    calls.clear();
}

int Vst2HostedPlugin::CountCalls(int32_t opcode) const
{
    std::lock_guard<std::mutex> guard(callsMutex);
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode ? 1 : 0;
    return n;
}

intptr_t Vst2HostedPlugin::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt)
{
    if (opcode == vst::audioMasterVersion)
        return 2400;
    Vst2HostedPlugin* host =
        effect && effect->user ? static_cast<Vst2HostedPlugin*>(effect->user) : constructing;
    return host ? host->Answer(opcode, index, value, ptr, opt) : 0;
}

intptr_t Vst2HostedPlugin::Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (settings.recordCalls)
    {
        std::lock_guard<std::mutex> guard(callsMutex);
        calls.push_back(HostCall{opcode, index, value, opt});
    }
    if (settings.logToStderr && !OnRealTimeThread())
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
    case vst::audioMasterCanDo:
        // The editor's window follows the size the editor asks for (audioMasterSizeWindow).
        return settings.editorResizable && ptr &&
                       std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0
                   ? 1
                   : 0;
    case vst::audioMasterGetProductString:
        CopyBounded(ptr, settings.productName, vst::kVstMaxProductStrLen);
        return ptr ? 1 : 0;
    case vst::audioMasterGetVendorString:
        CopyBounded(ptr, settings.vendorName, vst::kVstMaxVendorStrLen);
        return ptr ? 1 : 0;
    case vst::audioMasterGetVendorVersion:
        return settings.vendorVersion;
    case vst::audioMasterSizeWindow:
        if (index <= 0 || value <= 0 || value > 8192 || index > 8192)
            return 0;
        editorRequest.Set(index, static_cast<int>(value));
        return 1;
    default:
        (void)value;
        return 0;
    }
}

std::string Vst2HostedPlugin::Name()
{
    char text[256] = {};
    Dispatch(vst::effGetEffectName, 0, 0, text);
    return text;
}

std::vector<std::string> Vst2HostedPlugin::DescribeIdentity()
{
    std::vector<std::string> lines;
    char text[256] = {};
    auto line = [&lines, &text](const char* format, auto... values) {
        std::snprintf(text, sizeof text, format, values...);
        lines.emplace_back(text);
    };
    auto asked = [this, &text](int32_t opcode) {
        text[0] = '\0';
        Dispatch(opcode, 0, 0, text);
        return std::string(text);
    };
    const std::string name = asked(vst::effGetEffectName);
    const std::string vendor = asked(vst::effGetVendorString);
    const std::string product = asked(vst::effGetProductString);
    lines.push_back("effect name: " + name);
    lines.push_back("vendor: " + vendor);
    lines.push_back("product: " + product);
    if (!effect)
        return lines;
    line("magic: 0x%08X", static_cast<unsigned>(effect->magic));
    line("unique id: 0x%08X", static_cast<unsigned>(effect->uniqueID));
    line("version: %d", effect->version);
    line("vendor version: %ld", static_cast<long>(Dispatch(vst::effGetVendorVersion)));
    line("vst version: %ld", static_cast<long>(Dispatch(vst::effGetVstVersion)));
    line("category: %ld", static_cast<long>(Dispatch(vst::effGetPlugCategory)));
    line("flags: 0x%X", static_cast<unsigned>(effect->flags));
    line("inputs: %d", effect->numInputs);
    line("outputs: %d", effect->numOutputs);
    line("initial delay: %d", effect->initialDelay);
    line("io ratio: %g", static_cast<double>(effect->ioRatio));
    line("programs: %d", effect->numPrograms);
    line("parameters: %d", effect->numParams);
    line("current program: %ld", static_cast<long>(Dispatch(vst::effGetProgram)));
    return lines;
}

void Vst2HostedPlugin::Open()
{
    Dispatch(vst::effOpen);
}

void Vst2HostedPlugin::Configure(double sampleRate, int maxBlockFrames)
{
    Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(vst::effSetBlockSize, 0, maxBlockFrames);
}

bool Vst2HostedPlugin::Resume()
{
    Dispatch(vst::effMainsChanged, 0, 1);
    return true;
}

void Vst2HostedPlugin::Suspend()
{
    Dispatch(vst::effMainsChanged, 0, 0);
}

double Vst2HostedPlugin::ParamNormalized(int index)
{
    return effect ? static_cast<double>(effect->getParameter(effect, index)) : 0.0;
}

void Vst2HostedPlugin::SetParamNormalized(int index, double normalized)
{
    if (effect)
        effect->setParameter(effect, index, static_cast<float>(normalized));
}

int Vst2HostedPlugin::CurrentProgram()
{
    return static_cast<int>(Dispatch(vst::effGetProgram));
}

std::string Vst2HostedPlugin::CurrentProgramName()
{
    char text[256] = {};
    Dispatch(vst::effGetProgramName, 0, 0, text);
    return tpm::Utf8FromProductText(text);
}

bool Vst2HostedPlugin::SelectProgram(int index)
{
    Dispatch(vst::effSetProgram, 0, index);
    return true;
}

bool Vst2HostedPlugin::SupportsDouble()
{
    return effect && (effect->flags & vst::effFlagsCanDoubleReplacing) != 0 &&
           effect->processDoubleReplacing != nullptr;
}

void Vst2HostedPlugin::Process(float** inputs, float** outputs, int frames)
{
    effect->processReplacing(effect, inputs, outputs, frames);
}

void Vst2HostedPlugin::Process(double** inputs, double** outputs, int frames)
{
    effect->processDoubleReplacing(effect, inputs, outputs, frames);
}

bool Vst2HostedPlugin::SaveState(std::vector<uint8_t>& bytes)
{
    void* data = nullptr;
    const intptr_t size = Dispatch(vst::effGetChunk, 0, 0, &data);
    if (size <= 0 || !data)
        return false;
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes.assign(begin, begin + size);
    return true;
}

bool Vst2HostedPlugin::LoadState(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    return Dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(copy.size()), copy.data()) != 0;
}

bool Vst2HostedPlugin::EditorSize(int& width, int& height)
{
    ERect* rect = nullptr;
    if (!effect || (effect->flags & vst::effFlagsHasEditor) == 0 ||
        Dispatch(vst::effEditGetRect, 0, 0, &rect) == 0 || !rect || rect->right <= rect->left ||
        rect->bottom <= rect->top)
        return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return true;
}

void Vst2HostedPlugin::SetEditorScale(double scale)
{
    editorScale = scale;
#if defined(_WIN32)
    // VST2 has no way to give an editor a scale; on Windows it follows the window's DPI instead.
    if (scale > 0.0)
        std::fprintf(stderr, "vsthost: --scale is not for VST2 editors on Windows: they draw at the "
                             "system's DPI (Display settings, or winecfg under Wine)\n");
#else
    // Plug-ins that follow GTK's setting read it as the editor opens (ours: when Xft.dpi is unset).
    if (scale > 0.0)
        setenv("GDK_SCALE", std::to_string(scale).c_str(), 1);
#endif
}

bool Vst2HostedPlugin::TakeEditorRequest(int& width, int& height)
{
    return editorRequest.Take(width, height);
}

bool Vst2HostedPlugin::OpenEditor(void* parent)
{
    return Dispatch(vst::effEditOpen, 0, 0, parent) != 0;
}

void Vst2HostedPlugin::EditorIdle()
{
    Dispatch(vst::effEditIdle);
}

void Vst2HostedPlugin::CloseEditor()
{
    Dispatch(vst::effEditClose);
}

// What the plug-in would show for a normalised value, read as a number in its own units; a
// two-valued parameter switches.
bool Vst2HostedPlugin::UnitsOfNormalized(int index, double normalized, double& value)
{
    char text[kValueTextSize] = {};
    if (Dispatch(vst::effVendorSpecific, kVendorIsTwoValued, index) == kVendorAnswer ||
        Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, index, text,
                 static_cast<float>(normalized)) != kVendorAnswer)
        return false;
    text[sizeof text - 1] = '\0';
    return ParseNumber(text, value);
}

bool Vst2HostedPlugin::ValueInUnits(int index, double& value)
{
    char text[kValueTextSize] = {};
    Dispatch(vst::effGetParamDisplay, index, 0, text);
    text[sizeof text - 1] = '\0';
    return ParseNumber(text, value);
}

// Real units reach the plug-in through its own text-to-value mapping: it turns the number into a
// normalised value, which goes in through setParameter like any automation.
void Vst2HostedPlugin::SetValueInUnits(int index, double value)
{
    char text[kValueTextSize] = {};
    std::snprintf(text, sizeof text, "%.12g", value);
    if (Dispatch(vst::effVendorSpecific, vst::effString2Parameter, index, text) == kVendorAnswer)
    {
        text[sizeof text - 1] = '\0';
        SetParamNormalized(index, std::strtod(text, nullptr));
        return;
    }
    // A plug-in without that request still reads the number as a host's text entry.
    std::snprintf(text, sizeof text, "%.12g", value);
    Dispatch(vst::effString2Parameter, index, 0, text);
}

void Vst2HostedPlugin::WireChannels(int channels)
{
    VstSpeakerArrangement input{}, output{};
    input.numChannels = output.numChannels = channels;
    input.type = output.type = channels == 1 ? vst::kSpeakerArrMono : vst::kSpeakerArrStereo;
    Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output);
}
} // namespace tpm
