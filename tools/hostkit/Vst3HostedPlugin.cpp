#include "tools/hostkit/Vst3HostedPlugin.h"

#include "tools/hostkit/Vst3MemoryStream.h"
#include "tools/hostkit/Vst3Query.h"
#include "tools/hostkit/Vst3Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tpm
{
namespace
{
#if defined(_WIN32)
constexpr const char* kPlatformType = vst3::kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = vst3::kPlatformTypeX11EmbedWindowID;
#endif

template <std::size_t N> std::string Text(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

// The display text without the unit the plug-in may have appended.
std::string WithoutUnit(std::string text, const std::string& unit)
{
    const std::string suffix = " " + unit;
    if (!unit.empty() && text.size() > suffix.size() &&
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
        text.erase(text.size() - suffix.size());
    return text;
}
} // namespace

std::unique_ptr<Vst3HostedPlugin> Vst3HostedPlugin::Load(const std::string& modulePath, std::string& error,
                                                         const HostSettings& settings)
{
    std::shared_ptr<Vst3Module> module = Vst3Module::Load(modulePath, error);
    if (!module)
        return nullptr;
    std::unique_ptr<Vst3HostedPlugin> hosted(new Vst3HostedPlugin(module, settings));
    if (!hosted->Create(error))
    {
        error = "module '" + modulePath + "': " + error;
        return nullptr;
    }
    return hosted;
}

Vst3HostedPlugin::Vst3HostedPlugin(std::shared_ptr<Vst3Module> loaded, const HostSettings& hostSettings)
    : module(std::move(loaded)), services(Vst3HostServices::Create(hostSettings))
{
    settings = hostSettings;
}

Vst3HostedPlugin::~Vst3HostedPlugin()
{
    Close();
    services->release();
}

bool Vst3HostedPlugin::Create(std::string& error)
{
    vst3::IPluginFactory* factory = module->Factory();
    vst3::IPluginFactory2* factory2 = module->Factory2();
    bool found = false;
    for (vst3::int32 i = 0; i < factory->countClasses() && !found; ++i)
    {
        vst3::PClassInfo2 info{};
        if (factory2)
        {
            if (factory2->getClassInfo2(i, &info) != vst3::kResultOk)
                continue;
        }
        else
        {
            vst3::PClassInfo plain{};
            if (factory->getClassInfo(i, &plain) != vst3::kResultOk)
                continue;
            std::memcpy(info.cid, plain.cid, sizeof info.cid);
            info.cardinality = plain.cardinality;
            std::memcpy(info.category, plain.category, sizeof info.category);
            std::memcpy(info.name, plain.name, sizeof info.name);
        }
        found = Text(info.category) == vst3::kVstAudioEffectClass;
        if (found)
            classInfo = info;
    }
    if (!found)
    {
        error = "the factory offers no audio module class";
        return false;
    }
    void* made = nullptr;
    if (factory->createInstance(classInfo.cid, vst3::IComponent::iid.bytes, &made) != vst3::kResultOk ||
        !made)
    {
        error = "the factory made no component";
        return false;
    }
    component = static_cast<vst3::IComponent*>(made);
    if (component->initialize(services->Context()) != vst3::kResultOk)
    {
        component->release();
        component = nullptr;
        error = "the component did not initialise";
        return false;
    }
    processor = Vst3Query<vst3::IAudioProcessor>(component);
    if (!processor)
    {
        error = "the component is no audio processor";
        Close();
        return false;
    }
    if (!CreateController(error))
    {
        Close();
        return false;
    }
    services->onPerformEdit = [this](vst3::ParamID id, vst3::ParamValue value) {
        changes.Queue(id, value, 0);
    };
    services->indexOf = [this](vst3::ParamID id) { return IndexOf(id); };
    controller->setComponentHandler(services->Handler());
    // The controller starts from the component's state, as after loading a project.
    std::vector<uint8_t> state;
    Vst3MemoryStream stream(state);
    if (component->getState(&stream) == vst3::kResultOk)
    {
        stream.Rewind();
        controller->setComponentState(&stream);
    }
    ReadParams();
    ReadPrograms();
    return true;
}

bool Vst3HostedPlugin::CreateController(std::string& error)
{
    controller = Vst3Query<vst3::IEditController>(component);
    if (controller)
        return true;
    vst3::TUID controllerId{};
    void* made = nullptr;
    if (component->getControllerClassId(controllerId) != vst3::kResultOk ||
        module->Factory()->createInstance(controllerId, vst3::IEditController::iid.bytes, &made) !=
            vst3::kResultOk ||
        !made)
    {
        error = "the plug-in has no edit controller";
        return false;
    }
    controller = static_cast<vst3::IEditController*>(made);
    separateController = true;
    if (controller->initialize(services->Context()) != vst3::kResultOk)
    {
        controller->release();
        controller = nullptr;
        error = "the edit controller did not initialise";
        return false;
    }
    // The two halves talk to each other directly.
    componentPoint = Vst3Query<vst3::IConnectionPoint>(component);
    controllerPoint = Vst3Query<vst3::IConnectionPoint>(controller);
    if (componentPoint && controllerPoint)
    {
        componentPoint->connect(controllerPoint);
        controllerPoint->connect(componentPoint);
    }
    return true;
}

void Vst3HostedPlugin::Close()
{
    spare.reset();
    if (!component)
        return;
    CloseEditor();
    StopProcessing();
    if (componentPoint && controllerPoint)
    {
        componentPoint->disconnect(controllerPoint);
        controllerPoint->disconnect(componentPoint);
    }
    for (vst3::IConnectionPoint** point : {&componentPoint, &controllerPoint})
        if (*point)
        {
            (*point)->release();
            *point = nullptr;
        }
    if (controller)
    {
        controller->setComponentHandler(nullptr);
        if (separateController)
            controller->terminate();
        controller->release();
        controller = nullptr;
    }
    if (processor)
        processor->release();
    processor = nullptr;
    component->terminate();
    component->release();
    component = nullptr;
    services->Detach();
}

void Vst3HostedPlugin::ReadParams()
{
    params.clear();
    hasProgramParam = false;
    const vst3::int32 count = controller->getParameterCount();
    for (vst3::int32 i = 0; i < count; ++i)
    {
        vst3::ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != vst3::kResultOk)
            continue;
        // The program-change parameter is how programs are chosen, not one of the values listed.
        if ((info.flags & vst3::ParameterInfo::kIsProgramChange) != 0 && !hasProgramParam)
        {
            programParam = info;
            hasProgramParam = true;
        }
        else
            params.push_back(info);
    }
}

void Vst3HostedPlugin::ReadPrograms()
{
    programs.clear();
    if (!hasProgramParam)
        return;
    vst3::IUnitInfo* units = Vst3Query<vst3::IUnitInfo>(controller);
    if (!units && separateController)
        units = Vst3Query<vst3::IUnitInfo>(component);
    vst3::ProgramListID listId = vst3::kNoProgramListId;
    for (vst3::int32 u = 0; units && u < units->getUnitCount(); ++u)
    {
        vst3::UnitInfo unit{};
        if (units->getUnitInfo(u, unit) == vst3::kResultOk && unit.id == programParam.unitId)
            listId = unit.programListId;
    }
    vst3::ProgramListInfo list{};
    for (vst3::int32 l = 0; units && l < units->getProgramListCount(); ++l)
    {
        vst3::ProgramListInfo candidate{};
        if (units->getProgramListInfo(l, candidate) == vst3::kResultOk &&
            (candidate.id == listId || (listId == vst3::kNoProgramListId && l == 0)))
            list = candidate;
    }
    const vst3::int32 count = list.programCount > 0 ? list.programCount : programParam.stepCount + 1;
    for (vst3::int32 i = 0; i < count; ++i)
    {
        vst3::String128 name{};
        // Without a program list the parameter's own texts name the programs.
        const bool named =
            (list.programCount > 0 && units->getProgramName(list.id, i, name) == vst3::kResultOk) ||
            controller->getParamStringByValue(
                programParam.id, programParam.stepCount > 0 ? double(i) / programParam.stepCount : 0.0,
                name) == vst3::kResultOk;
        programs.push_back(named ? Utf8FromVst3(name) : std::string());
    }
    if (units)
        units->release();
}

int Vst3HostedPlugin::IndexOf(vst3::ParamID id) const
{
    for (std::size_t i = 0; i < params.size(); ++i)
        if (params[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int Vst3HostedPlugin::MainChannels(vst3::BusDirection direction)
{
    vst3::BusInfo bus{};
    if (!component || component->getBusCount(vst3::kAudio, direction) <= 0 ||
        component->getBusInfo(vst3::kAudio, direction, 0, bus) != vst3::kResultOk)
        return 0;
    return bus.channelCount;
}

std::vector<std::string> Vst3HostedPlugin::DescribeIdentity()
{
    std::vector<std::string> lines;
    vst3::PFactoryInfo factory{};
    module->Factory()->getFactoryInfo(&factory);
    const bool described = module->Factory2() != nullptr;
    lines.push_back("format: VST3");
    lines.push_back("class id: " + Vst3ClassIdText(classInfo.cid));
    lines.push_back("name: " + Text(classInfo.name));
    lines.push_back("category: " + Text(classInfo.category));
    lines.push_back("sub-categories: " + (described ? Text(classInfo.subCategories) : std::string()));
    lines.push_back("vendor: " +
                    (described && classInfo.vendor[0] ? Text(classInfo.vendor) : Text(factory.vendor)));
    lines.push_back("version: " + (described ? Text(classInfo.version) : std::string()));
    lines.push_back("sdk version: " + (described ? Text(classInfo.sdkVersion) : std::string()));
    lines.push_back("url: " + Text(factory.url));
    lines.push_back("email: " + Text(factory.email));
    const bool connected = componentPoint && controllerPoint;
    lines.push_back("controller: " + std::string(!separateController ? "the component"
                                                 : connected         ? "separate, connected"
                                                                     : "separate"));
    lines.push_back("inputs: " + std::to_string(InputCount()));
    lines.push_back("outputs: " + std::to_string(OutputCount()));
    lines.push_back("64-bit processing: " + std::string(SupportsDouble() ? "yes" : "no"));
    lines.push_back("latency: " + std::to_string(processor ? processor->getLatencySamples() : 0));
    lines.push_back("programs: " + std::to_string(ProgramCount()));
    lines.push_back("parameters: " + std::to_string(ParamCount()));
    lines.push_back("current program: " + std::to_string(CurrentProgram()));
    return lines;
}

std::string Vst3HostedPlugin::ParamName(int index)
{
    return index >= 0 && index < ParamCount() ? Utf8FromVst3(params[static_cast<std::size_t>(index)].title)
                                              : "";
}

std::string Vst3HostedPlugin::ParamLabel(int index)
{
    return index >= 0 && index < ParamCount() ? Utf8FromVst3(params[static_cast<std::size_t>(index)].units)
                                              : "";
}

std::string Vst3HostedPlugin::ParamDisplay(int index)
{
    if (!controller || index < 0 || index >= ParamCount())
        return "";
    const vst3::ParamID id = params[static_cast<std::size_t>(index)].id;
    vst3::String128 text{};
    if (controller->getParamStringByValue(id, controller->getParamNormalized(id), text) != vst3::kResultOk)
        return "";
    return WithoutUnit(Utf8FromVst3(text), ParamLabel(index));
}

double Vst3HostedPlugin::ParamNormalized(int index)
{
    if (!controller || index < 0 || index >= ParamCount())
        return 0.0;
    return controller->getParamNormalized(params[static_cast<std::size_t>(index)].id);
}

void Vst3HostedPlugin::SetParamNormalized(int index, double normalized)
{
    SetNormalizedAt(index, normalized, 0);
}

void Vst3HostedPlugin::SetNormalizedAt(int index, double normalized, int offset)
{
    if (!controller || index < 0 || index >= ParamCount())
        return;
    const vst3::ParameterInfo& info = params[static_cast<std::size_t>(index)];
    // A read-only value is the plug-in's own: the processor is never sent one.
    if ((info.flags & vst3::ParameterInfo::kIsReadOnly) != 0)
        return;
    const vst3::ParamID id = info.id;
    normalized = std::clamp(normalized, 0.0, 1.0);
    changes.Queue(id, normalized, std::max(0, offset));
    // A point inside a block is the processor's first: the controller, which may share the
    // processor's values, hears of it once the block is done, as from an automation lane.
    if (offset > 0)
        controllerFollowUps.push_back({id, normalized});
    else
        controller->setParamNormalized(id, normalized);
}

void Vst3HostedPlugin::FollowUpController()
{
    for (const auto& [id, normalized] : controllerFollowUps)
        controller->setParamNormalized(id, normalized);
    controllerFollowUps.clear();
}

bool Vst3HostedPlugin::UnitsOfNormalized(int index, double normalized, double& value)
{
    if (!controller || index < 0 || index >= ParamCount())
        return false;
    const vst3::ParameterInfo& info = params[static_cast<std::size_t>(index)];
    if ((info.flags & vst3::ParameterInfo::kIsList) != 0 || info.stepCount == 1)
        return false;
    value = controller->normalizedParamToPlain(info.id, normalized);
    return std::isfinite(value);
}

bool Vst3HostedPlugin::ValueInUnits(int index, double& value)
{
    return UnitsOfNormalized(index, ParamNormalized(index), value);
}

void Vst3HostedPlugin::SetValueInUnits(int index, double value)
{
    if (controller && index >= 0 && index < ParamCount())
        SetNormalizedAt(
            index, controller->plainParamToNormalized(params[static_cast<std::size_t>(index)].id, value), 0);
}

bool Vst3HostedPlugin::SetParamText(int index, const std::string& text)
{
    if (!controller || index < 0 || index >= ParamCount())
        return false;
    vst3::String128 wide{};
    Vst3FromUtf8(text, wide);
    vst3::ParamValue value = 0.0;
    if (controller->getParamValueByString(params[static_cast<std::size_t>(index)].id, wide, value) !=
            vst3::kResultOk ||
        !std::isfinite(value))
        return false;
    SetNormalizedAt(index, value, 0);
    return true;
}

HostedInstance* Vst3HostedPlugin::Spare()
{
    if (!spare)
    {
        HostSettings quiet = settings;
        quiet.logToStderr = false;
        std::unique_ptr<Vst3HostedPlugin> second(new Vst3HostedPlugin(module, quiet));
        std::string error;
        if (second->Create(error))
            spare = std::move(second);
    }
    return spare.get();
}

std::string Vst3HostedPlugin::ProgramName(int index)
{
    return index >= 0 && index < ProgramCount() ? programs[static_cast<std::size_t>(index)] : "";
}

int Vst3HostedPlugin::CurrentProgram()
{
    if (!controller || !hasProgramParam || ProgramCount() == 0)
        return -1;
    const double steps = programParam.stepCount > 0 ? programParam.stepCount : ProgramCount() - 1;
    return static_cast<int>(std::lround(controller->getParamNormalized(programParam.id) * steps));
}

bool Vst3HostedPlugin::SelectProgram(int index)
{
    if (!controller || !hasProgramParam || index < 0 || index >= ProgramCount())
        return false;
    const double steps = programParam.stepCount > 0 ? programParam.stepCount : ProgramCount() - 1;
    const double normalized = steps > 0 ? index / steps : 0.0;
    if (controller->setParamNormalized(programParam.id, normalized) != vst3::kResultOk)
        return false;
    changes.Queue(programParam.id, normalized, 0);
    return true;
}

bool Vst3HostedPlugin::SupportsDouble()
{
    return processor && processor->canProcessSampleSize(vst3::kSample64) == vst3::kResultTrue;
}

void Vst3HostedPlugin::Configure(double rate, int maxBlockFrames)
{
    sampleRate = rate;
    maxBlock = std::max(1, maxBlockFrames);
}

bool Vst3HostedPlugin::Resume()
{
    if (!component || active)
        return active;
    return StartProcessing(SupportsDouble() ? vst3::kSample64 : vst3::kSample32);
}

void Vst3HostedPlugin::Suspend()
{
    StopProcessing();
    ReportSent();
}

bool Vst3HostedPlugin::StartProcessing(vst3::int32 size)
{
    if (!component || !processor)
        return false;
    // Each bus as the plug-in describes it: mono or stereo by its channel count.
    auto arrangements = [this](vst3::BusDirection direction) {
        std::vector<vst3::SpeakerArrangement> wanted;
        for (vst3::int32 b = 0; b < component->getBusCount(vst3::kAudio, direction); ++b)
        {
            vst3::BusInfo bus{};
            vst3::SpeakerArrangement arrangement = vst3::SpeakerArr::kStereo;
            if (component->getBusInfo(vst3::kAudio, direction, b, bus) == vst3::kResultOk &&
                bus.channelCount != 2)
                processor->getBusArrangement(direction, b, arrangement);
            wanted.push_back(arrangement);
        }
        return wanted;
    };
    std::vector<vst3::SpeakerArrangement> ins = arrangements(vst3::kInput);
    std::vector<vst3::SpeakerArrangement> outs = arrangements(vst3::kOutput);
    processor->setBusArrangements(ins.empty() ? nullptr : ins.data(), static_cast<vst3::int32>(ins.size()),
                                  outs.empty() ? nullptr : outs.data(),
                                  static_cast<vst3::int32>(outs.size()));
    for (vst3::BusDirection direction : {vst3::kInput, vst3::kOutput})
        for (vst3::int32 b = 0; b < component->getBusCount(vst3::kAudio, direction); ++b)
        {
            vst3::BusInfo bus{};
            if (component->getBusInfo(vst3::kAudio, direction, b, bus) == vst3::kResultOk &&
                (bus.busType == vst3::kMain || (bus.flags & vst3::BusInfo::kDefaultActive) != 0))
                component->activateBus(vst3::kAudio, direction, b, 1);
        }
    vst3::ProcessSetup setup{vst3::kRealtime, size, maxBlock, sampleRate};
    if (processor->setupProcessing(setup) != vst3::kResultOk)
        return false;
    AllocateBuses();
    if (component->setActive(1) != vst3::kResultOk)
        return false;
    processor->setProcessing(1); // many plug-ins answer "not implemented": nothing to start
    sampleSize = size;
    active = true;
    return true;
}

void Vst3HostedPlugin::StopProcessing()
{
    if (!active)
        return;
    processor->setProcessing(0);
    component->setActive(0);
    active = false;
}

void Vst3HostedPlugin::AllocateBuses()
{
    auto allocate = [this](vst3::BusDirection direction, std::vector<Bus>& buses,
                           std::vector<vst3::AudioBusBuffers>& views) {
        const vst3::int32 count = component->getBusCount(vst3::kAudio, direction);
        buses.assign(static_cast<std::size_t>(std::max(0, count)), Bus{});
        views.assign(buses.size(), vst3::AudioBusBuffers{});
        for (std::size_t b = 0; b < buses.size(); ++b)
        {
            vst3::BusInfo info{};
            if (component->getBusInfo(vst3::kAudio, direction, static_cast<vst3::int32>(b), info) !=
                vst3::kResultOk)
                info.channelCount = 0;
            Bus& bus = buses[b];
            bus.buffers.numChannels = std::max(0, info.channelCount);
            if (b == 0)
                continue; // the caller's buffers
            const auto channels = static_cast<std::size_t>(bus.buffers.numChannels);
            bus.floats.assign(channels, std::vector<float>(static_cast<std::size_t>(maxBlock)));
            bus.doubles.assign(channels, std::vector<double>(static_cast<std::size_t>(maxBlock)));
            for (auto& channel : bus.floats)
                bus.floatPointers.push_back(channel.data());
            for (auto& channel : bus.doubles)
                bus.doublePointers.push_back(channel.data());
        }
    };
    allocate(vst3::kInput, inputBuses, inputViews);
    allocate(vst3::kOutput, outputBuses, outputViews);
}

void Vst3HostedPlugin::FillContext()
{
    context = vst3::ProcessContext{};
    const TransportPosition position = PositionAtRate(sampleRate);
    context.state = vst3::ProcessContext::kProjectTimeMusicValid | vst3::ProcessContext::kBarPositionValid |
                    vst3::ProcessContext::kTimeSigValid | vst3::ProcessContext::kContTimeValid;
    if (settings.tempoValid)
        context.state |= vst3::ProcessContext::kTempoValid;
    if (settings.playing)
        context.state |= vst3::ProcessContext::kPlaying;
    if (settings.recording)
        context.state |= vst3::ProcessContext::kRecording;
    context.sampleRate = sampleRate;
    context.projectTimeSamples = static_cast<vst3::TSamples>(std::llround(samplePosition));
    context.continousTimeSamples = continuousSamples;
    context.projectTimeMusic = position.beats;
    context.barPositionMusic = position.barStartBeats;
    context.tempo = settings.tempo;
    context.timeSigNumerator = settings.timeSigNumerator;
    context.timeSigDenominator = settings.timeSigDenominator;
}

template <typename Sample> void Vst3HostedPlugin::Run(Sample** inputs, Sample** outputs, int frames)
{
    constexpr vst3::int32 kWanted = sizeof(Sample) == sizeof(double) ? vst3::kSample64 : vst3::kSample32;
    const bool realTime = OnRealTimeThread();
    // The other sample size needs the processor set up again, which is no work for an audio thread.
    if (active && sampleSize != kWanted && !realTime)
    {
        StopProcessing();
        StartProcessing(kWanted);
    }
    const vst3::int32 outChannels = outputViews.empty() ? 0 : outputBuses[0].buffers.numChannels;
    auto silence = [&] { Silence(outputs, outChannels, frames); };
    if (!active || sampleSize != kWanted || frames <= 0 || frames > maxBlock)
    {
        silence(); // a block the plug-in does not process comes out silent
        return;
    }
    auto wire = [frames](std::vector<Bus>& buses, std::vector<vst3::AudioBusBuffers>& views, Sample** main,
                         bool input) {
        for (std::size_t b = 0; b < views.size(); ++b)
        {
            vst3::AudioBusBuffers& view = views[b];
            view = buses[b].buffers;
            Sample** channels = main;
            if (b > 0)
            {
                if constexpr (sizeof(Sample) == sizeof(double))
                    channels = buses[b].doublePointers.data();
                else
                    channels = buses[b].floatPointers.data();
            }
            if constexpr (sizeof(Sample) == sizeof(double))
                view.channelBuffers64 = channels;
            else
                view.channelBuffers32 = channels;
            view.silenceFlags = 0;
            // Inputs that hold nothing but zeros are flagged silent, so the plug-in may skip them.
            for (vst3::int32 c = 0; input && c < view.numChannels && c < 64; ++c)
                if (b > 0 || IsSilent(channels[c], frames))
                    view.silenceFlags |= uint64_t{1} << c;
        }
    };
    wire(inputBuses, inputViews, inputs, true);
    wire(outputBuses, outputViews, outputs, false);
    FillContext();
    changes.TakeQueued(frames);
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = sampleSize;
    data.numSamples = frames;
    data.numInputs = static_cast<vst3::int32>(inputViews.size());
    data.numOutputs = static_cast<vst3::int32>(outputViews.size());
    data.inputs = inputViews.empty() ? nullptr : inputViews.data();
    data.outputs = outputViews.empty() ? nullptr : outputViews.data();
    data.inputParameterChanges = changes.Input();
    data.outputParameterChanges = changes.Output();
    data.processContext = settings.timeInfoAvailable ? &context : nullptr;
    if (processor->process(data) != vst3::kResultOk)
        silence(); // its output is not to be used
    changes.AfterProcess();
    continuousSamples += frames;
    if (!realTime)
    {
        FollowUpController();
        ReportSent();
    }
}

void Vst3HostedPlugin::Process(float** inputs, float** outputs, int frames)
{
    Run(inputs, outputs, frames);
}

void Vst3HostedPlugin::Process(double** inputs, double** outputs, int frames)
{
    Run(inputs, outputs, frames);
}

void Vst3HostedPlugin::DeliverQueued()
{
    // Once resumed, blocks may be running on another thread; the next of them takes the changes.
    if (!processor || active || !changes.HasQueued())
        return;
    if (!StartProcessing(SupportsDouble() ? vst3::kSample64 : vst3::kSample32))
        return;
    FillContext();
    changes.TakeQueued(0);
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = sampleSize;
    data.inputParameterChanges = changes.Input();
    data.outputParameterChanges = changes.Output();
    data.processContext = settings.timeInfoAvailable ? &context : nullptr;
    processor->process(data);
    changes.AfterProcess();
    StopProcessing();
    FollowUpController();
    ReportSent();
}

void Vst3HostedPlugin::ReportSent()
{
    Vst3ChangeBuffer::Sent sent;
    while (changes.NextSent(sent))
        if (settings.logToStderr)
            std::fprintf(stderr, "host: automate parameter %d = %.6f\n", IndexOf(sent.param), sent.value);
}

bool Vst3HostedPlugin::SaveState(std::vector<uint8_t>& bytes)
{
    if (!component)
        return false;
    // Values set since the last block are part of the state the user expects saved.
    DeliverQueued();
    bytes.clear();
    Vst3MemoryStream stream(bytes);
    return component->getState(&stream) == vst3::kResultOk;
}

bool Vst3HostedPlugin::LoadState(const std::vector<uint8_t>& bytes)
{
    if (!component)
        return false;
    std::vector<uint8_t> copy = bytes;
    Vst3MemoryStream stream(copy);
    if (component->setState(&stream) != vst3::kResultOk)
        return false;
    changes.DropQueued(); // the state replaces what was waiting
    stream.Rewind();
    controller->setComponentState(&stream);
    return true;
}

bool Vst3HostedPlugin::EditorSize(int& width, int& height)
{
    if (!controller)
        return false;
    if (!view)
    {
        view = controller->createView(vst3::kViewTypeEditor);
        if (!view)
            return false;
        if (view->isPlatformTypeSupported(kPlatformType) != vst3::kResultTrue)
        {
            view->release();
            view = nullptr;
            return false;
        }
        view->setFrame(services->Frame());
        if (editorScale > 0.0)
        {
            void* found = nullptr;
            if (view->queryInterface(vst3::IPlugViewContentScaleSupport::iid.bytes, &found) ==
                    vst3::kResultOk &&
                found)
            {
                auto* scaling = static_cast<vst3::IPlugViewContentScaleSupport*>(found);
                scaling->setContentScaleFactor(static_cast<float>(editorScale));
                scaling->release();
            }
        }
    }
    vst3::ViewRect size{};
    if (view->getSize(&size) != vst3::kResultOk || size.right <= size.left || size.bottom <= size.top)
        return false;
    width = size.right - size.left;
    height = size.bottom - size.top;
    return true;
}

bool Vst3HostedPlugin::OpenEditor(void* parent)
{
    int width = 0;
    int height = 0;
    if ((!view && !EditorSize(width, height)) || viewAttached)
        return false;
    viewAttached = view->attached(parent, kPlatformType) == vst3::kResultOk;
    return viewAttached;
}

bool Vst3HostedPlugin::ResizeEditor(int& width, int& height)
{
    if (!view || !viewAttached || view->canResize() != vst3::kResultTrue)
        return false;
    vst3::ViewRect rect{0, 0, width, height};
    if (view->checkSizeConstraint(&rect) != vst3::kResultTrue || view->onSize(&rect) != vst3::kResultTrue)
        return false;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

bool Vst3HostedPlugin::TakeEditorRequest(int& width, int& height)
{
    return services && services->TakeResizeRequest(width, height);
}

void Vst3HostedPlugin::EditorIdle()
{
    services->RunLoop().Service();
    // Blocks on an audio device's thread leave the controller's news to the window loop.
    FollowUpController();
    ReportSent();
}

void Vst3HostedPlugin::CloseEditor()
{
    if (!view)
        return;
    if (viewAttached)
        view->removed();
    viewAttached = false;
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
    ReportSent();
}
} // namespace tpm
