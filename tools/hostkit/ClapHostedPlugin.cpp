#include "tools/hostkit/ClapHostedPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tpm
{
namespace
{
#if defined(_WIN32)
constexpr const char* kWindowApi = kClapWindowApiWin32;
#else
constexpr const char* kWindowApi = kClapWindowApiX11;
#endif

// The number at the start of a display text and the unit after it ("200.0 Hz" -> "Hz").
std::string UnitOf(const std::string& display)
{
    char* end = nullptr;
    std::strtod(display.c_str(), &end);
    if (end == display.c_str())
        return "";
    std::string unit = end;
    const std::size_t first = unit.find_first_not_of(" \t");
    return first == std::string::npos ? "" : unit.substr(first);
}

int64_t ReadStream(const clap_istream_t* stream, void* buffer, uint64_t size)
{
    auto* source = static_cast<std::pair<const std::vector<uint8_t>*, std::size_t>*>(stream->ctx);
    const std::size_t left = source->first->size() - source->second;
    const std::size_t n = std::min<std::size_t>(left, static_cast<std::size_t>(size));
    std::memcpy(buffer, source->first->data() + source->second, n);
    source->second += n;
    return static_cast<int64_t>(n);
}

int64_t WriteStream(const clap_ostream_t* stream, const void* buffer, uint64_t size)
{
    auto* bytes = static_cast<std::vector<uint8_t>*>(stream->ctx);
    const auto* begin = static_cast<const uint8_t*>(buffer);
    bytes->insert(bytes->end(), begin, begin + size);
    return static_cast<int64_t>(size);
}
} // namespace

std::unique_ptr<ClapHostedPlugin> ClapHostedPlugin::Load(const std::string& modulePath, std::string& error,
                                                         const HostSettings& settings)
{
    std::shared_ptr<ClapModule> module = ClapModule::Load(modulePath, error);
    if (!module)
        return nullptr;
    std::unique_ptr<ClapHostedPlugin> hosted(new ClapHostedPlugin(module, settings));
    if (!hosted->Create(error))
    {
        error = "module '" + modulePath + "': " + error;
        return nullptr;
    }
    return hosted;
}

ClapHostedPlugin::ClapHostedPlugin(std::shared_ptr<ClapModule> loaded, const HostSettings& hostSettings)
    : module(std::move(loaded)), services(hostSettings)
{
    settings = hostSettings;
}

bool ClapHostedPlugin::Create(std::string& error)
{
    const clap_plugin_factory_t* factory = module->PluginFactory();
    const clap_plugin_descriptor_t* descriptor = factory->get_plugin_descriptor(factory, 0);
    if (!descriptor || !descriptor->id)
    {
        error = "the plug-in factory gave no descriptor";
        return false;
    }
    plugin = factory->create_plugin(factory, services.Host(), descriptor->id);
    if (!plugin)
    {
        error = "the plug-in factory created no plug-in";
        return false;
    }
    if (!plugin->init(plugin))
    {
        plugin->destroy(plugin);
        plugin = nullptr;
        error = "the plug-in did not initialise";
        return false;
    }
    services.Attach(plugin);
    paramsExt = Extension<clap_plugin_params_t>(kClapExtParams);
    ReadParams();
    return true;
}

ClapHostedPlugin::~ClapHostedPlugin()
{
    Close();
}

void ClapHostedPlugin::Close()
{
    spare.reset();
    if (!plugin)
        return;
    CloseEditor();
    Suspend();
    plugin->destroy(plugin);
    plugin = nullptr;
}

template <typename T> const T* ClapHostedPlugin::Extension(const char* id) const
{
    return plugin ? static_cast<const T*>(plugin->get_extension(plugin, id)) : nullptr;
}

void ClapHostedPlugin::ReadParams()
{
    params.clear();
    if (!paramsExt)
        return;
    const uint32_t count = paramsExt->count(plugin);
    for (uint32_t i = 0; i < count; ++i)
    {
        clap_param_info_t info{};
        if (paramsExt->get_info(plugin, i, &info))
            params.push_back(info);
    }
    sentValues.assign(params.size(), 0.0);
    sentBeforeBlock.assign(params.size(), UINT64_MAX);
}

int ClapHostedPlugin::IndexOf(clap_id id) const
{
    for (std::size_t i = 0; i < params.size(); ++i)
        if (params[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int ClapHostedPlugin::MainChannels(bool input)
{
    const auto* ports = Extension<clap_plugin_audio_ports_t>(kClapExtAudioPorts);
    if (!ports) // without the extension a plug-in has one stereo port each way
        return 2;
    clap_audio_port_info_t info{};
    if (ports->count(plugin, input) == 0 || !ports->get(plugin, 0, input, &info))
        return 0;
    return static_cast<int>(info.channel_count);
}

std::string ClapHostedPlugin::Name()
{
    return plugin && plugin->desc && plugin->desc->name ? plugin->desc->name : "";
}

std::vector<std::string> ClapHostedPlugin::DescribeIdentity()
{
    const clap_plugin_descriptor_t* d = plugin ? plugin->desc : nullptr;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    std::vector<std::string> lines;
    if (!d)
        return lines;
    std::string features;
    for (const char* const* f = d->features; f && *f; ++f)
        features += (features.empty() ? "" : " ") + std::string(*f);
    const auto* latency = Extension<clap_plugin_latency_t>(kClapExtLatency);
    lines.push_back("format: CLAP " + std::to_string(d->clap_version.major) + "." +
                    std::to_string(d->clap_version.minor) + "." + std::to_string(d->clap_version.revision));
    lines.push_back("id: " + text(d->id));
    lines.push_back("name: " + text(d->name));
    lines.push_back("vendor: " + text(d->vendor));
    lines.push_back("version: " + text(d->version));
    lines.push_back("url: " + text(d->url));
    lines.push_back("description: " + text(d->description));
    lines.push_back("features: " + features);
    lines.push_back("inputs: " + std::to_string(InputCount()));
    lines.push_back("outputs: " + std::to_string(OutputCount()));
    lines.push_back("64-bit processing: " + std::string(SupportsDouble() ? "yes" : "no"));
    lines.push_back("latency: " + std::to_string(latency && latency->get ? latency->get(plugin) : 0));
    lines.push_back("programs: " + std::to_string(ProgramCount()));
    lines.push_back("parameters: " + std::to_string(ParamCount()));
    lines.push_back("current program: " + std::to_string(currentProgram));
    return lines;
}

void ClapHostedPlugin::Configure(double rate, int maxBlockFrames)
{
    sampleRate = rate;
    maxBlock = std::max(1, maxBlockFrames);
}

bool ClapHostedPlugin::Resume()
{
    if (!plugin || active)
        return active;
    AllocatePorts();
    active = plugin->activate(plugin, sampleRate, 1, static_cast<uint32_t>(maxBlock));
    return active;
}

void ClapHostedPlugin::Suspend()
{
    if (!plugin || !active)
        return;
    if (processing)
    {
        services.EnterAudioThread();
        plugin->stop_processing(plugin);
        services.LeaveAudioThread();
        processing = false;
    }
    plugin->deactivate(plugin);
    active = false;
    ReportSent();
}

void ClapHostedPlugin::AllocatePorts()
{
    const auto* ports = Extension<clap_plugin_audio_ports_t>(kClapExtAudioPorts);
    auto allocate = [&](bool input, std::vector<PortBuffers>& buffers,
                        std::vector<clap_audio_buffer_t>& views) {
        const uint32_t count = ports ? ports->count(plugin, input) : 1;
        buffers.assign(count, PortBuffers{});
        views.assign(count, clap_audio_buffer_t{});
        for (uint32_t p = 0; p < count; ++p)
        {
            clap_audio_port_info_t info{};
            info.channel_count = 2;
            if (ports && !ports->get(plugin, p, input, &info))
                info.channel_count = 0;
            views[p].channel_count = info.channel_count;
            if (p == 0)
                continue; // the caller's buffers
            PortBuffers& b = buffers[p];
            b.floats.assign(info.channel_count, std::vector<float>(static_cast<std::size_t>(maxBlock)));
            b.doubles.assign(info.channel_count, std::vector<double>(static_cast<std::size_t>(maxBlock)));
            for (auto& channel : b.floats)
                b.floatPointers.push_back(channel.data());
            for (auto& channel : b.doubles)
                b.doublePointers.push_back(channel.data());
        }
    };
    allocate(true, inputPorts, inputBuffers);
    allocate(false, outputPorts, outputBuffers);
}

std::string ClapHostedPlugin::ParamName(int index)
{
    return index >= 0 && index < ParamCount() ? params[static_cast<std::size_t>(index)].name : "";
}

std::string ClapHostedPlugin::ParamLabel(int index)
{
    ParamRange range;
    if (!Range(index, range) || range.isList)
        return "";
    return UnitOf(DisplayOfValue(index, range.max));
}

std::string ClapHostedPlugin::DisplayOfValue(int index, double value)
{
    if (!paramsExt || index < 0 || index >= ParamCount())
        return "";
    char text[256] = {};
    if (!paramsExt->value_to_text(plugin, params[static_cast<std::size_t>(index)].id, value, text,
                                  sizeof text))
        return "";
    return text;
}

std::string ClapHostedPlugin::ParamDisplay(int index)
{
    if (!paramsExt || index < 0 || index >= ParamCount())
        return "";
    double value = 0.0;
    if (!paramsExt->get_value(plugin, params[static_cast<std::size_t>(index)].id, &value))
        return "";
    // The number alone, with the unit as the label beside it, as the commands show every format.
    std::string text = DisplayOfValue(index, value);
    const std::string unit = " " + ParamLabel(index);
    if (unit.size() > 1 && text.size() > unit.size() &&
        text.compare(text.size() - unit.size(), unit.size(), unit) == 0)
        text.erase(text.size() - unit.size());
    return text;
}

bool ClapHostedPlugin::Range(int index, ParamRange& range)
{
    if (index < 0 || index >= ParamCount())
        return false;
    const clap_param_info_t& info = params[static_cast<std::size_t>(index)];
    range.min = info.min_value;
    range.max = info.max_value;
    range.defaultValue = info.default_value;
    range.stepped = (info.flags & kClapParamIsStepped) != 0;
    range.isList = range.stepped && (info.flags & kClapParamIsEnum) != 0;
    return true;
}

double ClapHostedPlugin::ParamNormalized(int index)
{
    ParamRange range;
    double value = 0.0;
    if (!paramsExt || !Range(index, range) ||
        !paramsExt->get_value(plugin, params[static_cast<std::size_t>(index)].id, &value) ||
        range.max <= range.min)
        return 0.0;
    return std::clamp((value - range.min) / (range.max - range.min), 0.0, 1.0);
}

void ClapHostedPlugin::SetParamNormalized(int index, double normalized)
{
    ParamRange range;
    if (!Range(index, range))
        return;
    double value = range.min + std::clamp(normalized, 0.0, 1.0) * (range.max - range.min);
    if (range.stepped)
        value = std::round(value);
    SetValueAt(index, value, 0);
}

void ClapHostedPlugin::SetValueInUnits(int index, double value)
{
    ParamRange range;
    if (Range(index, range))
        SetValueAt(index, std::clamp(value, range.min, range.max), 0);
}

bool ClapHostedPlugin::ValueInUnits(int index, double& value)
{
    if (index < 0 || index >= ParamCount() || sentBeforeBlock[static_cast<std::size_t>(index)] != blocksRun)
        return HostedInstance::ValueInUnits(index, value);
    double ignored = 0.0;
    value = sentValues[static_cast<std::size_t>(index)];
    return UnitsOfNormalized(index, 0.0, ignored);
}

bool ClapHostedPlugin::SetParamText(int index, const std::string& text)
{
    double value = 0.0;
    if (!paramsExt || index < 0 || index >= ParamCount() ||
        !paramsExt->text_to_value(plugin, params[static_cast<std::size_t>(index)].id, text.c_str(), &value))
        return false;
    ParamRange range;
    Range(index, range);
    SetValueAt(index, std::clamp(value, range.min, range.max), 0);
    return true;
}

void ClapHostedPlugin::SetValueAt(int index, double value, uint32_t offset)
{
    if (index < 0 || index >= ParamCount())
        return;
    const clap_param_info_t& info = params[static_cast<std::size_t>(index)];
    events.Queue(info.id, info.cookie, value, offset);
    sentValues[static_cast<std::size_t>(index)] = value;
    sentBeforeBlock[static_cast<std::size_t>(index)] = blocksRun;
    // Active instances take it with the next block; an idle one at once, through params.flush.
    if (!active)
        Flush();
}

void ClapHostedPlugin::Flush()
{
    if (!paramsExt || !paramsExt->flush || processing)
        return;
    events.TakeQueued();
    // An active plug-in flushes on its audio thread; here that is the thread asking.
    if (active)
        services.EnterAudioThread();
    paramsExt->flush(plugin, events.Input(), events.Output());
    if (active)
        services.LeaveAudioThread();
    events.ClearInput();
    ReportSent();
}

HostedInstance* ClapHostedPlugin::Spare()
{
    if (!spare)
    {
        HostSettings quiet = settings;
        quiet.logToStderr = false;
        std::unique_ptr<ClapHostedPlugin> second(new ClapHostedPlugin(module, quiet));
        std::string error;
        if (second->Create(error))
            spare = std::move(second);
    }
    return spare.get();
}

int ClapHostedPlugin::ProgramCount()
{
    if (!presetsRead)
    {
        presetsRead = true;
        if (plugin && plugin->desc && plugin->desc->id)
            presets = ClapPresetIndex::Collect(module->PresetFactory(), plugin->desc->id);
    }
    return static_cast<int>(presets.size());
}

std::string ClapHostedPlugin::ProgramName(int index)
{
    return index >= 0 && index < ProgramCount() ? presets[static_cast<std::size_t>(index)].name : "";
}

bool ClapHostedPlugin::SelectProgram(int index)
{
    if (index < 0 || index >= ProgramCount())
        return false;
    const auto* load = Extension<clap_plugin_preset_load_t>(kClapExtPresetLoad);
    if (!load)
        load = Extension<clap_plugin_preset_load_t>(kClapExtPresetLoadCompat);
    if (!load)
        return false;
    const ClapPresetIndex::Preset& preset = presets[static_cast<std::size_t>(index)];
    services.ClearPresetError();
    const bool loaded =
        load->from_location(plugin, preset.kind, preset.location.empty() ? nullptr : preset.location.c_str(),
                            preset.loadKey.c_str());
    if (!loaded || !services.PresetError().empty())
        return false;
    currentProgram = index;
    return true;
}

bool ClapHostedPlugin::SupportsDouble()
{
    const auto* ports = Extension<clap_plugin_audio_ports_t>(kClapExtAudioPorts);
    if (!ports)
        return false;
    for (bool input : {true, false})
        for (uint32_t p = 0; p < ports->count(plugin, input); ++p)
        {
            clap_audio_port_info_t info{};
            if (!ports->get(plugin, p, input, &info) || (info.flags & kClapAudioPortSupports64Bits) == 0)
                return false;
        }
    return true;
}

void ClapHostedPlugin::FillTransport(clap_event_transport_t& transport) const
{
    transport = clap_event_transport_t{};
    transport.header.size = sizeof transport;
    transport.header.type = kClapEventTransport;
    transport.header.space_id = kClapCoreEventSpaceId;
    const TransportPosition position = PositionAtRate(sampleRate);
    transport.flags =
        kClapTransportHasBeatsTimeline | kClapTransportHasSecondsTimeline | kClapTransportHasTimeSignature;
    if (settings.tempoValid)
        transport.flags |= kClapTransportHasTempo;
    if (settings.playing)
        transport.flags |= kClapTransportIsPlaying;
    if (settings.recording)
        transport.flags |= kClapTransportIsRecording;
    transport.song_pos_beats = std::llround(position.beats * static_cast<double>(kClapBeattimeFactor));
    transport.song_pos_seconds = std::llround(position.seconds * static_cast<double>(kClapSectimeFactor));
    transport.tempo = settings.tempo;
    transport.bar_start = std::llround(position.barStartBeats * static_cast<double>(kClapBeattimeFactor));
    transport.bar_number = position.bar;
    transport.tsig_num = static_cast<uint16_t>(settings.timeSigNumerator);
    transport.tsig_denom = static_cast<uint16_t>(settings.timeSigDenominator);
}

template <typename Sample> void ClapHostedPlugin::Run(Sample** inputs, Sample** outputs, int frames)
{
    // A block the plug-in does not process comes out silent rather than as what the buffers held.
    const bool runnable = active && frames > 0 && frames <= maxBlock;
    ++blocksRun;
    if (runnable)
    {
        services.EnterAudioThread();
        if (!processing)
            processing = plugin->start_processing(plugin);
    }
    if (!runnable || !processing)
    {
        Silence(outputs, outputBuffers.empty() ? 0 : static_cast<int>(outputBuffers[0].channel_count),
                frames);
        if (runnable)
            services.LeaveAudioThread();
        return;
    }
    auto wire = [](std::vector<PortBuffers>& ports, std::vector<clap_audio_buffer_t>& views, Sample** main) {
        for (std::size_t p = 0; p < views.size(); ++p)
        {
            clap_audio_buffer_t& view = views[p];
            view.data32 = nullptr;
            view.data64 = nullptr;
            if constexpr (sizeof(Sample) == sizeof(double))
                view.data64 = p == 0 ? main : ports[p].doublePointers.data();
            else
                view.data32 = p == 0 ? main : ports[p].floatPointers.data();
        }
    };
    wire(inputPorts, inputBuffers, inputs);
    wire(outputPorts, outputBuffers, outputs);
    clap_event_transport_t transport;
    FillTransport(transport);
    events.TakeQueued();
    clap_process_t process{};
    process.steady_time = steadyTime;
    process.frames_count = static_cast<uint32_t>(frames);
    process.transport = settings.timeInfoAvailable ? &transport : nullptr;
    process.audio_inputs = inputBuffers.data();
    process.audio_outputs = outputBuffers.data();
    process.audio_inputs_count = static_cast<uint32_t>(inputBuffers.size());
    process.audio_outputs_count = static_cast<uint32_t>(outputBuffers.size());
    process.in_events = events.Input();
    process.out_events = events.Output();
    if (plugin->process(plugin, &process) == kClapProcessError) // its output is not to be used
        Silence(outputs, outputBuffers.empty() ? 0 : static_cast<int>(outputBuffers[0].channel_count),
                frames);
    events.ClearInput();
    steadyTime += frames;
    services.LeaveAudioThread();
    if (!OnRealTimeThread())
        ReportSent();
}

void ClapHostedPlugin::Process(float** inputs, float** outputs, int frames)
{
    Run(inputs, outputs, frames);
}

void ClapHostedPlugin::Process(double** inputs, double** outputs, int frames)
{
    Run(inputs, outputs, frames);
}

void ClapHostedPlugin::ReportSent()
{
    ClapEventBuffer::Sent sent;
    while (events.NextSent(sent))
    {
        if (!settings.logToStderr)
            continue;
        const int index = IndexOf(sent.param);
        if (sent.type == kClapEventParamGestureBegin)
            std::fprintf(stderr, "host: begin-edit parameter %d\n", index);
        else if (sent.type == kClapEventParamGestureEnd)
            std::fprintf(stderr, "host: end-edit parameter %d\n", index);
        else
            std::fprintf(stderr, "host: automate parameter %d = %.6f\n", index, sent.value);
    }
}

bool ClapHostedPlugin::SaveState(std::vector<uint8_t>& bytes)
{
    const auto* state = Extension<clap_plugin_state_t>(kClapExtState);
    bytes.clear();
    clap_ostream_t stream{&bytes, &WriteStream};
    return state && state->save(plugin, &stream);
}

bool ClapHostedPlugin::LoadState(const std::vector<uint8_t>& bytes)
{
    const auto* state = Extension<clap_plugin_state_t>(kClapExtState);
    std::pair<const std::vector<uint8_t>*, std::size_t> source{&bytes, 0};
    clap_istream_t stream{&source, &ReadStream};
    return state && state->load(plugin, &stream);
}

bool ClapHostedPlugin::EditorSize(int& width, int& height)
{
    const auto* gui = Extension<clap_plugin_gui_t>(kClapExtGui);
    if (!gui || !gui->is_api_supported(plugin, kWindowApi, false))
        return false;
    if (!guiCreated)
    {
        guiCreated = gui->create(plugin, kWindowApi, false);
        if (guiCreated && editorScale > 0.0)
            gui->set_scale(plugin, editorScale);
    }
    uint32_t w = 0;
    uint32_t h = 0;
    if (!guiCreated || !gui->get_size(plugin, &w, &h) || w == 0 || h == 0)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ClapHostedPlugin::OpenEditor(void* parent)
{
    const auto* gui = Extension<clap_plugin_gui_t>(kClapExtGui);
    int width = 0;
    int height = 0;
    if (!gui || (!guiCreated && !EditorSize(width, height)))
        return false;
    clap_window_t window{};
    window.api = kWindowApi;
#if defined(_WIN32)
    window.win32 = parent;
#else
    window.x11 = static_cast<clap_xwnd>(reinterpret_cast<uintptr_t>(parent));
#endif
    if (!gui->set_parent(plugin, &window))
        return false;
    gui->show(plugin);
    return true;
}

bool ClapHostedPlugin::ResizeEditor(int& width, int& height)
{
    const auto* gui = Extension<clap_plugin_gui_t>(kClapExtGui);
    if (!gui || !guiCreated || width <= 0 || height <= 0 || !gui->can_resize(plugin))
        return false;
    uint32_t w = static_cast<uint32_t>(width);
    uint32_t h = static_cast<uint32_t>(height);
    if (!gui->adjust_size(plugin, &w, &h) || !gui->set_size(plugin, w, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

void ClapHostedPlugin::ServiceMainThread()
{
    services.Service();
    if (services.TakeCallbackRequest() && plugin)
        plugin->on_main_thread(plugin);
    // Without process calls, what the plug-in wants to say goes through params.flush.
    if ((services.TakeFlushRequest() || events.HasQueued()) && !processing)
        Flush();
    ReportSent();
}

void ClapHostedPlugin::EditorIdle()
{
    ServiceMainThread();
}

void ClapHostedPlugin::CloseEditor()
{
    const auto* gui = Extension<clap_plugin_gui_t>(kClapExtGui);
    if (gui && guiCreated)
        gui->destroy(plugin);
    guiCreated = false;
    if (plugin)
        ServiceMainThread();
}
} // namespace tpm
