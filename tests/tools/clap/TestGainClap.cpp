// A minimal CLAP plug-in for testing the host side: stereo gain with a mode list, preset discovery
// with two presets inside the module, state, and an "editor" without a window of its own whose
// timer and pipe (serviced by the host's window loop) make a gesture on Gain that reaches the host
// through request_flush, or through the next process call while the host processes. It checks the
// host's thread rules and logs an error wherever they break.
// Modes: Normal and Inverted scale the input; Tempo outputs tempo/1000 while the transport plays.
// Echo=On makes the next process call send a gesture on Gain as output events.
#include "formats/clap/ClapAbi.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace tpm
{
namespace
{
constexpr clap_id kGain = 10;
constexpr clap_id kMode = 20;
constexpr clap_id kEcho = 30;
constexpr const char* kModes[] = {"Normal", "Inverted", "Tempo"};
constexpr const char* kEchoes[] = {"Off", "On"};
constexpr char kPluginId[] = "org.twinpulsetonemix.test-gain";
constexpr double kEditorGain = 6.0;

struct Plugin
{
    clap_plugin_t clap{};
    const clap_host_t* host = nullptr;
    double gain = 0.0;
    double mode = 0.0;
    double echo = 0.0;
    bool echoSent = false;
    bool active = false;
    bool gui = false;
    clap_id timer = kClapInvalidId;
    int ticks = 0;
    int pipe[2] = {-1, -1};
    std::atomic<bool> gesturePending{false}; // the editor's edit, for the next flush or process call
};

Plugin& Self(const clap_plugin_t* p)
{
    return *static_cast<Plugin*>(p->plugin_data);
}

template <typename T> const T* HostExtension(const Plugin& self, const char* id)
{
    return static_cast<const T*>(self.host->get_extension(self.host, id));
}

void Log(const Plugin& self, const char* message)
{
    if (const auto* log = HostExtension<clap_host_log_t>(self, kClapExtLog))
        log->log(self.host, kClapLogError, message);
}

void ExpectMainThread(const Plugin& self, const char* where)
{
    const auto* check = HostExtension<clap_host_thread_check_t>(self, kClapExtThreadCheck);
    if (!check || !check->is_main_thread(self.host) || check->is_audio_thread(self.host))
        Log(self, (std::string("not on the main thread: ") + where).c_str());
}

void ExpectAudioThread(const Plugin& self, const char* where)
{
    const auto* check = HostExtension<clap_host_thread_check_t>(self, kClapExtThreadCheck);
    if (!check || !check->is_audio_thread(self.host))
        Log(self, (std::string("not on the audio thread: ") + where).c_str());
}

double* ValueOf(Plugin& self, clap_id id)
{
    return id == kGain ? &self.gain : id == kMode ? &self.mode : id == kEcho ? &self.echo : nullptr;
}

void Apply(Plugin& self, const clap_event_header_t* event)
{
    if (event->space_id != kClapCoreEventSpaceId || event->type != kClapEventParamValue)
        return;
    const auto* value = reinterpret_cast<const clap_event_param_value_t*>(event);
    if (double* target = ValueOf(self, value->param_id))
        *target = value->value;
    if (value->param_id == kEcho)
        self.echoSent = false;
}

void PushGesture(const clap_output_events_t* out, clap_id id, double value)
{
    clap_event_param_gesture_t gesture{};
    gesture.header = {sizeof gesture, 0, kClapCoreEventSpaceId, kClapEventParamGestureBegin, 0};
    gesture.param_id = id;
    out->try_push(out, &gesture.header);
    clap_event_param_value_t change{};
    change.header = {sizeof change, 0, kClapCoreEventSpaceId, kClapEventParamValue, 0};
    change.param_id = id;
    change.note_id = -1;
    change.port_index = change.channel = change.key = -1;
    change.value = value;
    out->try_push(out, &change.header);
    gesture.header.type = kClapEventParamGestureEnd;
    out->try_push(out, &gesture.header);
}

// ---- params ----

uint32_t ParamCount(const clap_plugin_t*)
{
    return 3;
}

bool ParamInfo(const clap_plugin_t*, uint32_t index, clap_param_info_t* info)
{
    if (index > 2)
        return false;
    *info = clap_param_info_t{};
    const bool gain = index == 0;
    info->id = gain ? kGain : index == 1 ? kMode : kEcho;
    info->flags = kClapParamIsAutomatable | (gain ? 0 : kClapParamIsStepped | kClapParamIsEnum);
    std::snprintf(info->name, sizeof info->name, "%s", gain ? "Gain" : index == 1 ? "Mode" : "Echo");
    info->min_value = gain ? -24.0 : 0.0;
    info->max_value = gain ? 24.0 : index == 1 ? 2.0 : 1.0;
    info->default_value = 0.0;
    return true;
}

bool ParamValue(const clap_plugin_t* p, clap_id id, double* value)
{
    const double* v = ValueOf(Self(p), id);
    if (v)
        *value = *v;
    return v != nullptr;
}

bool ValueToText(const clap_plugin_t*, clap_id id, double value, char* text, uint32_t capacity)
{
    if (id == kGain)
        std::snprintf(text, capacity, "%.1f dB", value);
    else if (id == kMode && value >= 0 && value <= 2)
        std::snprintf(text, capacity, "%s", kModes[static_cast<int>(value)]);
    else if (id == kEcho && value >= 0 && value <= 1)
        std::snprintf(text, capacity, "%s", kEchoes[static_cast<int>(value)]);
    else
        return false;
    return true;
}

bool TextToValue(const clap_plugin_t*, clap_id id, const char* text, double* value)
{
    if (id == kGain)
    {
        char* end = nullptr;
        *value = std::strtod(text, &end);
        return end != text;
    }
    const auto* const* names = id == kMode ? kModes : kEchoes;
    const int count = id == kMode ? 3 : 2;
    for (int i = 0; i < count; ++i)
        if (strcasecmp(text, names[i]) == 0)
        {
            *value = i;
            return true;
        }
    return false;
}

void Flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out)
{
    Plugin& self = Self(p);
    if (self.active)
        ExpectAudioThread(self, "params.flush while active");
    else
        ExpectMainThread(self, "params.flush");
    for (uint32_t i = 0; i < in->size(in); ++i)
        Apply(self, in->get(in, i));
    if (self.gesturePending.exchange(false))
    {
        self.gain = kEditorGain;
        PushGesture(out, kGain, self.gain);
    }
}

const clap_plugin_params_t kParams{&ParamCount, &ParamInfo, &ParamValue, &ValueToText, &TextToValue, &Flush};

// ---- audio ports ----

uint32_t PortCount(const clap_plugin_t*, bool)
{
    return 1;
}

bool PortInfo(const clap_plugin_t*, uint32_t index, bool, clap_audio_port_info_t* info)
{
    if (index != 0)
        return false;
    *info = clap_audio_port_info_t{};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "main");
    info->flags = kClapAudioPortIsMain | kClapAudioPortSupports64Bits;
    info->channel_count = 2;
    info->port_type = kClapPortStereo;
    info->in_place_pair = 0;
    return true;
}

const clap_plugin_audio_ports_t kPorts{&PortCount, &PortInfo};

// ---- state ----

bool SaveState(const clap_plugin_t* p, const clap_ostream_t* stream)
{
    const Plugin& self = Self(p);
    const double values[3] = {self.gain, self.mode, self.echo};
    return stream->write(stream, "TGN1", 4) == 4 &&
           stream->write(stream, values, sizeof values) == sizeof values;
}

bool LoadState(const clap_plugin_t* p, const clap_istream_t* stream)
{
    char magic[4] = {};
    double values[3] = {};
    if (stream->read(stream, magic, 4) != 4 || std::memcmp(magic, "TGN1", 4) != 0 ||
        stream->read(stream, values, sizeof values) != sizeof values)
        return false;
    Plugin& self = Self(p);
    self.gain = values[0];
    self.mode = values[1];
    self.echo = values[2];
    return true;
}

const clap_plugin_state_t kState{&SaveState, &LoadState};

// ---- preset-load ----

bool FromLocation(const clap_plugin_t* p, uint32_t kind, const char* location, const char* key)
{
    Plugin& self = Self(p);
    ExpectMainThread(self, "preset-load");
    if (kind != kClapPresetDiscoveryLocationPlugin || location || !key)
        return false;
    if (std::strcmp(key, "quiet") == 0)
        self.gain = -12.0;
    else if (std::strcmp(key, "loud") == 0)
        self.gain = 6.0;
    else
        return false;
    return true;
}

const clap_plugin_preset_load_t kPresetLoad{&FromLocation};

// ---- gui: no window, a timer and a pipe that stand in for user input ----

bool GuiApiSupported(const clap_plugin_t*, const char* api, bool floating)
{
    return !floating && std::strcmp(api, kClapWindowApiX11) == 0;
}

bool GuiPreferred(const clap_plugin_t*, const char** api, bool* floating)
{
    *api = kClapWindowApiX11;
    *floating = false;
    return true;
}

bool GuiCreate(const clap_plugin_t* p, const char* api, bool floating)
{
    Plugin& self = Self(p);
    ExpectMainThread(self, "gui.create");
    if (self.gui || !GuiApiSupported(p, api, floating))
        return false;
    const auto* timers = HostExtension<clap_host_timer_support_t>(self, kClapExtTimerSupport);
    const auto* fds = HostExtension<clap_host_posix_fd_support_t>(self, kClapExtPosixFdSupport);
    if (!timers || !fds || ::pipe(self.pipe) != 0)
        return false;
    timers->register_timer(self.host, 20, &self.timer);
    fds->register_fd(self.host, self.pipe[0], kClapPosixFdRead);
    self.gui = true;
    self.ticks = 0;
    return true;
}

void GuiDestroy(const clap_plugin_t* p)
{
    Plugin& self = Self(p);
    if (!self.gui)
        return;
    HostExtension<clap_host_timer_support_t>(self, kClapExtTimerSupport)
        ->unregister_timer(self.host, self.timer);
    HostExtension<clap_host_posix_fd_support_t>(self, kClapExtPosixFdSupport)
        ->unregister_fd(self.host, self.pipe[0]);
    ::close(self.pipe[0]);
    ::close(self.pipe[1]);
    self.gui = false;
}

bool GuiSetScale(const clap_plugin_t*, double)
{
    return false;
}

bool GuiGetSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
    *width = 200;
    *height = 100;
    return Self(p).gui;
}

bool GuiCanResize(const clap_plugin_t*)
{
    return false;
}

bool GuiHints(const clap_plugin_t*, clap_gui_resize_hints_t*)
{
    return false;
}

bool GuiAdjust(const clap_plugin_t*, uint32_t*, uint32_t*)
{
    return false;
}

bool GuiSetSize(const clap_plugin_t*, uint32_t, uint32_t)
{
    return false;
}

bool GuiSetParent(const clap_plugin_t* p, const clap_window_t* window)
{
    return Self(p).gui && window && window->api && std::strcmp(window->api, kClapWindowApiX11) == 0 &&
           window->x11 != 0;
}

bool GuiSetTransient(const clap_plugin_t*, const clap_window_t*)
{
    return false;
}

void GuiTitle(const clap_plugin_t*, const char*) {}

bool GuiShow(const clap_plugin_t* p)
{
    return Self(p).gui;
}

bool GuiHide(const clap_plugin_t* p)
{
    return Self(p).gui;
}

const clap_plugin_gui_t kGui{&GuiApiSupported, &GuiPreferred,    &GuiCreate, &GuiDestroy, &GuiSetScale,
                             &GuiGetSize,      &GuiCanResize,    &GuiHints,  &GuiAdjust,  &GuiSetSize,
                             &GuiSetParent,    &GuiSetTransient, &GuiTitle,  &GuiShow,    &GuiHide};

// The timer's third tick "types" into the pipe; reading it there is the user's edit.
void OnTimer(const clap_plugin_t* p, clap_id id)
{
    Plugin& self = Self(p);
    ExpectMainThread(self, "on_timer");
    if (id == self.timer && ++self.ticks == 3 && ::write(self.pipe[1], "x", 1) != 1)
        Log(self, "pipe write failed");
}

const clap_plugin_timer_support_t kTimer{&OnTimer};

void OnFd(const clap_plugin_t* p, int fd, clap_posix_fd_flags_t flags)
{
    Plugin& self = Self(p);
    ExpectMainThread(self, "on_fd");
    char byte = 0;
    if (fd != self.pipe[0] || (flags & kClapPosixFdRead) == 0 || ::read(fd, &byte, 1) != 1)
        return;
    self.gesturePending.store(true);
    HostExtension<clap_host_params_t>(self, kClapExtParams)->request_flush(self.host);
}

const clap_plugin_posix_fd_support_t kFd{&OnFd};

// ---- plug-in ----

bool Init(const clap_plugin_t*)
{
    return true;
}

void Destroy(const clap_plugin_t* p)
{
    GuiDestroy(p);
    delete &Self(p);
}

bool Activate(const clap_plugin_t* p, double rate, uint32_t minFrames, uint32_t maxFrames)
{
    Plugin& self = Self(p);
    ExpectMainThread(self, "activate");
    self.active = rate > 0 && minFrames >= 1 && maxFrames >= minFrames;
    return self.active;
}

void Deactivate(const clap_plugin_t* p)
{
    Self(p).active = false;
}

bool StartProcessing(const clap_plugin_t* p)
{
    ExpectAudioThread(Self(p), "start_processing");
    return true;
}

void StopProcessing(const clap_plugin_t* p)
{
    ExpectAudioThread(Self(p), "stop_processing");
}

void Reset(const clap_plugin_t*) {}

template <typename Sample>
void Render(Plugin& self, const clap_process_t* process, uint32_t from, uint32_t to)
{
    const clap_audio_buffer_t& in = process->audio_inputs[0];
    const clap_audio_buffer_t& out = process->audio_outputs[0];
    const bool playing = process->transport && (process->transport->flags & kClapTransportIsPlaying) != 0;
    const double level = self.mode > 1.5 ? (playing ? process->transport->tempo / 1000.0 : 0.0)
                                         : std::pow(10.0, self.gain / 20.0) * (self.mode > 0.5 ? -1.0 : 1.0);
    for (uint32_t c = 0; c < 2; ++c)
    {
        Sample* const* outs = nullptr;
        Sample* const* ins = nullptr;
        if constexpr (sizeof(Sample) == sizeof(double))
            outs = out.data64, ins = in.data64;
        else
            outs = out.data32, ins = in.data32;
        for (uint32_t i = from; i < to; ++i)
            outs[c][i] = static_cast<Sample>(self.mode > 1.5 ? level : ins[c][i] * level);
    }
}

clap_process_status Process(const clap_plugin_t* p, const clap_process_t* process)
{
    Plugin& self = Self(p);
    ExpectAudioThread(self, "process");
    if (process->audio_inputs_count != 1 || process->audio_outputs_count != 1)
        return kClapProcessError;
    const bool doubles = process->audio_outputs[0].data64 != nullptr;
    // Each event takes effect at its own frame: the block is split there.
    const uint32_t events = process->in_events->size(process->in_events);
    uint32_t frame = 0;
    for (uint32_t e = 0; e <= events; ++e)
    {
        const clap_event_header_t* event =
            e < events ? process->in_events->get(process->in_events, e) : nullptr;
        const uint32_t until = event ? std::min(event->time, process->frames_count) : process->frames_count;
        if (until > frame)
        {
            if (doubles)
                Render<double>(self, process, frame, until);
            else
                Render<float>(self, process, frame, until);
            frame = until;
        }
        if (event)
            Apply(self, event);
    }
    if (self.gesturePending.exchange(false)) // the editor's edit, while the host processes
    {
        self.gain = kEditorGain;
        PushGesture(process->out_events, kGain, self.gain);
    }
    if (self.echo > 0.5 && !self.echoSent)
    {
        PushGesture(process->out_events, kGain, self.gain);
        self.echoSent = true;
    }
    return kClapProcessContinue;
}

const void* GetExtension(const clap_plugin_t*, const char* id)
{
    const std::string wanted = id;
    if (wanted == kClapExtParams)
        return &kParams;
    if (wanted == kClapExtAudioPorts)
        return &kPorts;
    if (wanted == kClapExtState)
        return &kState;
    if (wanted == kClapExtPresetLoad)
        return &kPresetLoad;
    if (wanted == kClapExtGui)
        return &kGui;
    if (wanted == kClapExtTimerSupport)
        return &kTimer;
    if (wanted == kClapExtPosixFdSupport)
        return &kFd;
    return nullptr;
}

void OnMainThread(const clap_plugin_t*) {}

const char* const kFeatures[] = {kClapPluginFeatureAudioEffect, kClapPluginFeatureStereo, nullptr};
const clap_plugin_descriptor_t kDescriptor{
    kClapVersion, kPluginId, "Test Gain", "twinPulseToneMix tests",   "",
    "",           "",        "1.0.0",     "A gain for testing hosts", kFeatures};

// ---- factories ----

uint32_t PluginCount(const clap_plugin_factory_t*)
{
    return 1;
}

const clap_plugin_descriptor_t* Descriptor(const clap_plugin_factory_t*, uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin_t* CreatePlugin(const clap_plugin_factory_t*, const clap_host_t* host, const char* id)
{
    if (!host || !id || std::strcmp(id, kPluginId) != 0)
        return nullptr;
    auto* self = new Plugin;
    self->host = host;
    self->clap = clap_plugin_t{
        &kDescriptor,    self,   &Init,    &Destroy,      &Activate,    &Deactivate, &StartProcessing,
        &StopProcessing, &Reset, &Process, &GetExtension, &OnMainThread};
    return &self->clap;
}

const clap_plugin_factory_t kPluginFactory{&PluginCount, &Descriptor, &CreatePlugin};

const clap_preset_discovery_provider_descriptor_t kProviderDescriptor{kClapVersion, "test-gain-presets",
                                                                      "Test Gain presets", ""};

bool ProviderInit(const clap_preset_discovery_provider_t* provider)
{
    const auto* indexer = static_cast<const clap_preset_discovery_indexer_t*>(provider->provider_data);
    const clap_preset_discovery_location_t inside{kClapPresetDiscoveryIsFactoryContent, "Factory",
                                                  kClapPresetDiscoveryLocationPlugin, nullptr};
    return indexer->declare_location(indexer, &inside);
}

void ProviderDestroy(const clap_preset_discovery_provider_t* provider)
{
    delete provider;
}

bool ProviderMetadata(const clap_preset_discovery_provider_t*, uint32_t kind, const char* location,
                      const clap_preset_discovery_metadata_receiver_t* receiver)
{
    if (kind != kClapPresetDiscoveryLocationPlugin || location)
        return false;
    const clap_universal_plugin_id_t ours{"clap", kPluginId};
    const clap_universal_plugin_id_t other{"clap", "org.example.other"};
    if (receiver->begin_preset(receiver, "Quiet", "quiet"))
        receiver->add_plugin_id(receiver, &ours);
    if (receiver->begin_preset(receiver, "Elsewhere", "elsewhere")) // another plug-in's: not listed
        receiver->add_plugin_id(receiver, &other);
    if (receiver->begin_preset(receiver, "Loud", "loud"))
        receiver->add_plugin_id(receiver, &ours);
    return true;
}

const void* ProviderExtension(const clap_preset_discovery_provider_t*, const char*)
{
    return nullptr;
}

uint32_t ProviderCount(const clap_preset_discovery_factory_t*)
{
    return 1;
}

const clap_preset_discovery_provider_descriptor_t* ProviderDescriptor(const clap_preset_discovery_factory_t*,
                                                                      uint32_t index)
{
    return index == 0 ? &kProviderDescriptor : nullptr;
}

const clap_preset_discovery_provider_t* CreateProvider(const clap_preset_discovery_factory_t*,
                                                       const clap_preset_discovery_indexer_t* indexer,
                                                       const char* id)
{
    if (!indexer || !id || std::strcmp(id, kProviderDescriptor.id) != 0)
        return nullptr;
    return new clap_preset_discovery_provider_t{
        &kProviderDescriptor, const_cast<clap_preset_discovery_indexer_t*>(indexer),
        &ProviderInit,        &ProviderDestroy,
        &ProviderMetadata,    &ProviderExtension};
}

const clap_preset_discovery_factory_t kPresetFactory{&ProviderCount, &ProviderDescriptor, &CreateProvider};

int initCount = 0;

bool EntryInit(const char* path)
{
    ++initCount;
    return path && *path == '/';
}

void EntryDeinit()
{
    --initCount;
}

const void* EntryFactory(const char* id)
{
    if (initCount <= 0)
        return nullptr;
    if (std::strcmp(id, kClapPluginFactoryId) == 0)
        return &kPluginFactory;
    if (std::strcmp(id, kClapPresetDiscoveryFactoryId) == 0)
        return &kPresetFactory;
    return nullptr;
}
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" __attribute__((visibility("default")))
const clap_plugin_entry_t clap_entry{kClapVersion, &EntryInit, &EntryDeinit, &EntryFactory};
