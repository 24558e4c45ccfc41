// The CLAP plug-in's lifecycle and process call.
#include "formats/clap/ClapPlugin.h"

#include "plugin/ProductInfo.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tpm
{
namespace
{
const char* const kFeatures[] = {kClapPluginFeatureAudioEffect, kClapPluginFeatureStereo, nullptr};

// While a process call runs on this thread: host events are then drained into its output list,
// and asking the host for a flush would be wrong.
thread_local bool insideProcess = false;

TransportSnapshot ReadTransport(const clap_event_transport_t* transport)
{
    TransportSnapshot snapshot;
    if (!transport)
        return snapshot;
    snapshot.available = true;
    snapshot.playing = (transport->flags & kClapTransportIsPlaying) != 0;
    snapshot.recording = (transport->flags & kClapTransportIsRecording) != 0;
    snapshot.tempoValid = (transport->flags & kClapTransportHasTempo) != 0;
    snapshot.tempo = transport->tempo;
    if (transport->flags & kClapTransportHasBeatsTimeline)
        snapshot.positionBeats = static_cast<double>(transport->song_pos_beats) / kClapBeattimeFactor;
    snapshot.timeSignatureValid = (transport->flags & kClapTransportHasTimeSignature) != 0;
    snapshot.timeSigNumerator = transport->tsig_num;
    snapshot.timeSigDenominator = transport->tsig_denom;
    return snapshot;
}

} // namespace

const clap_plugin_descriptor_t ClapPlugin::kDescriptor = {
    kClapVersion,  product::kId,  product::kName,    product::kVendor,      product::kUrl,
    product::kUrl, product::kUrl, product::kVersion, product::kDescription, kFeatures};

const clap_plugin_t* ClapPlugin::Create(const clap_host_t* host)
{
    if (!host)
        return nullptr;
    auto* self = new (std::nothrow) ClapPlugin(host);
    return self ? &self->plugin : nullptr;
}

ClapPlugin::ClapPlugin(const clap_host_t* clapHost)
    : plugin{&kDescriptor,    this,   &Init,    &Destroy,      &Activate,    &Deactivate, &StartProcessing,
             &StopProcessing, &Reset, &Process, &GetExtension, &OnMainThread},
      host(clapHost), mainThread(std::this_thread::get_id())
{
}

ClapPlugin* ClapPlugin::Self(const clap_plugin_t* p)
{
    return p ? static_cast<ClapPlugin*>(p->plugin_data) : nullptr;
}

template <typename T> const T* ClapPlugin::HostExtension(const char* id) const
{
    return host->get_extension ? static_cast<const T*>(host->get_extension(host, id)) : nullptr;
}

bool ClapPlugin::OnMainThread() const
{
    if (hostThreadCheck && hostThreadCheck->is_main_thread)
        return hostThreadCheck->is_main_thread(host);
    return std::this_thread::get_id() == mainThread;
}

bool ClapPlugin::OnAudioThread() const
{
    if (hostThreadCheck && hostThreadCheck->is_audio_thread)
        return hostThreadCheck->is_audio_thread(host);
    return true;
}

bool ClapPlugin::Init(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (!self || self->stage.load() != Stage::kCreated)
        return false;
    self->hostThreadCheck = self->HostExtension<clap_host_thread_check_t>(kClapExtThreadCheck);
    if (!self->OnMainThread())
        return false;
    self->hostParams = self->HostExtension<clap_host_params_t>(kClapExtParams);
    self->hostState = self->HostExtension<clap_host_state_t>(kClapExtState);
    self->hostPresetLoad = self->HostExtension<clap_host_preset_load_t>(kClapExtPresetLoad);
    if (!self->hostPresetLoad)
        self->hostPresetLoad = self->HostExtension<clap_host_preset_load_t>(kClapExtPresetLoadCompat);
    self->instance = PluginInstance::Create();
    if (!self->instance)
        return false;
    self->instance->SetEventListener(self);
    self->editor.Attach(self->instance.get(), self->host);
    self->stage.store(Stage::kInitialized);
    return true;
}

void ClapPlugin::Destroy(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (!self)
        return;
    // Hosts may destroy an instance that is still active or shows its editor.
    self->editor.Destroy();
    if (self->instance)
    {
        self->instance->SetEventListener(nullptr);
        self->instance->Deactivate();
    }
    delete self;
}

bool ClapPlugin::Activate(const clap_plugin_t* p, double sampleRate, uint32_t minFrames, uint32_t maxFrames)
{
    (void)minFrames;
    ClapPlugin* self = Self(p);
    if (!self || self->stage.load() != Stage::kInitialized || !self->OnMainThread() || maxFrames == 0 ||
        maxFrames > static_cast<uint32_t>(INT32_MAX))
        return false;
    if (!self->instance->Activate(sampleRate, static_cast<int>(maxFrames)))
        return false;
    self->stage.store(Stage::kActive);
    return true;
}

void ClapPlugin::Deactivate(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (!self || self->stage.load() != Stage::kActive || !self->OnMainThread())
        return;
    self->instance->Deactivate();
    self->stage.store(Stage::kInitialized);
}

bool ClapPlugin::StartProcessing(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (!self || self->stage.load() != Stage::kActive || !self->OnAudioThread())
        return false;
    self->instance->StartProcessing();
    self->stage.store(Stage::kProcessing);
    return true;
}

void ClapPlugin::StopProcessing(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    if (!self || self->stage.load() != Stage::kProcessing || !self->OnAudioThread())
        return;
    self->stage.store(Stage::kActive);
    self->instance->StopProcessing();
}

void ClapPlugin::Reset(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    const Stage now = self ? self->stage.load() : Stage::kCreated;
    if (now != Stage::kActive && now != Stage::kProcessing)
        return;
    self->instance->Reset();
}

clap_process_status ClapPlugin::Process(const clap_plugin_t* p, const clap_process_t* process)
{
    ClapPlugin* self = Self(p);
    if (!self || !process || self->stage.load() != Stage::kProcessing || !self->OnAudioThread())
        return kClapProcessError;
    if (process->audio_inputs_count < 1 || process->audio_outputs_count < 1 || !process->audio_inputs ||
        !process->audio_outputs || process->frames_count > static_cast<uint32_t>(INT32_MAX))
        return kClapProcessError;
    const clap_audio_buffer_t& in = process->audio_inputs[0];
    const clap_audio_buffer_t& out = process->audio_outputs[0];
    const TransportSnapshot transport = ReadTransport(process->transport);
    const int frames = static_cast<int>(process->frames_count);
    insideProcess = true;
    // 64-bit where the host gives 64-bit output; a missing input then reads as silence.
    if (out.data64)
    {
        const AudioBlock<double> block{in.data64, static_cast<int32_t>(in.data64 ? in.channel_count : 0),
                                       out.data64, static_cast<int32_t>(out.channel_count), frames};
        self->ProcessEvents(*process, block, transport);
    }
    else if (out.data32)
    {
        const AudioBlock<float> block{in.data32, static_cast<int32_t>(in.data32 ? in.channel_count : 0),
                                      out.data32, static_cast<int32_t>(out.channel_count), frames};
        self->ProcessEvents(*process, block, transport);
    }
    else
    {
        insideProcess = false;
        return kClapProcessError;
    }
    self->SendHostEvents(process->out_events);
    insideProcess = false;
    return kClapProcessContinue;
}

bool ClapPlugin::ReadChange(const clap_event_header_t& event, ParamChange& out)
{
    if (event.space_id != kClapCoreEventSpaceId || event.type != kClapEventParamValue ||
        event.size < sizeof(clap_event_param_value_t))
        return false;
    const auto& value = reinterpret_cast<const clap_event_param_value_t&>(event);
    out = ParamChange{static_cast<int32_t>(std::min<uint32_t>(event.time, INT32_MAX)),
                      static_cast<int32_t>(std::min<uint32_t>(value.param_id, INT32_MAX)), value.value};
    return true;
}

template <typename Sample>
void ClapPlugin::ProcessEvents(const clap_process_t& process, const AudioBlock<Sample>& block,
                               const TransportSnapshot& transport)
{
    const clap_input_events_t* in = process.in_events;
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    uint32_t next = 0;
    int from = 0;
    // Passes of at most kMaxChanges changes each; a pass ends where the next pass's first change falls.
    do
    {
        std::size_t taken = 0;
        int until = block.frames;
        for (; next < count; ++next)
        {
            const clap_event_header_t* event = in->get(in, next);
            ParamChange change;
            if (!event || !ReadChange(*event, change))
                continue;
            change.offset = std::clamp(change.offset, from, block.frames);
            if (taken == kMaxChanges)
            {
                until = change.offset;
                break;
            }
            change.offset -= from;
            changes[taken++] = change;
        }
        if (from == 0 && until == block.frames)
            instance->Process(block, transport, std::span(changes.data(), taken));
        else
        {
            const AudioBlockPart<Sample> rest(block, from, until - from);
            instance->Process(rest.block, transport, std::span(changes.data(), taken));
        }
        from = until;
    } while (next < count);
}

void ClapPlugin::SendHostEvents(const clap_output_events_t* out)
{
    flushRequested.store(false);
    if (!out || !out->try_push)
        return;
    HostEvent event;
    for (;;)
    {
        if (heldEventWaiting)
            event = heldEvent;
        else if (!instance->PopHostEvent(event))
            return;
        heldEventWaiting = false;
        bool sent = true;
        switch (event.kind)
        {
        case HostEvent::Kind::kBeginEdit:
        case HostEvent::Kind::kEndEdit:
        {
            const clap_event_param_gesture_t gesture{
                {sizeof(clap_event_param_gesture_t), 0, kClapCoreEventSpaceId,
                 event.kind == HostEvent::Kind::kBeginEdit ? kClapEventParamGestureBegin
                                                           : kClapEventParamGestureEnd,
                 0},
                static_cast<clap_id>(event.paramIdx)};
            sent = out->try_push(out, &gesture.header);
            break;
        }
        case HostEvent::Kind::kValue:
        {
            const clap_event_param_value_t value{
                {sizeof(clap_event_param_value_t), 0, kClapCoreEventSpaceId, kClapEventParamValue, 0},
                static_cast<clap_id>(event.paramIdx),
                nullptr,
                -1,
                -1,
                -1,
                -1,
                event.value};
            sent = out->try_push(out, &value.header);
            break;
        }
        case HostEvent::Kind::kDisplayChanged:
            break; // the values the host shows come with the value events
        }
        if (!sent)
        {
            heldEvent = event;
            heldEventWaiting = true;
            return;
        }
    }
}

void ClapPlugin::HostEventsPending()
{
    // Inside a process call the events leave with its output; elsewhere the host is asked for a
    // flush, once until it comes.
    if (insideProcess || !hostParams || !hostParams->request_flush || flushRequested.exchange(true))
        return;
    hostParams->request_flush(host);
}

const void* ClapPlugin::GetExtension(const clap_plugin_t* p, const char* id)
{
    if (!Self(p) || !id)
        return nullptr;
    struct Entry
    {
        const char* id;
        const void* table;
    };
    static const Entry kExtensions[] = {
        {kClapExtParams, &kParams},
        {kClapExtState, &kState},
        {kClapExtAudioPorts, &kAudioPorts},
        {kClapExtLatency, &kLatency},
        {kClapExtRender, &kRender},
        {kClapExtPresetLoad, &kPresetLoad},
        {kClapExtPresetLoadCompat, &kPresetLoad},
        {kClapExtGui, &kGui},
        {kClapExtTimerSupport, &kTimerSupport},
        {kClapExtPosixFdSupport, &kPosixFdSupport},
    };
    for (const Entry& entry : kExtensions)
        if (std::strcmp(entry.id, id) == 0)
            return entry.table;
    return nullptr;
}

void ClapPlugin::OnMainThread(const clap_plugin_t* p)
{
    (void)p;
}
} // namespace tpm
