// The instance's events and questions for the host, as audioMaster calls through the host's callback.
#include "formats/vst2/HostTable.h"
#include "formats/vst2/Vst2Effect.h"

#include <algorithm>
#include <utility>

#include <cstring>

namespace tpm
{
namespace
{
constexpr int kHostTextSize = 256;
} // namespace

VstIntPtr Vst2Effect::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return hostCallback ? hostCallback(&effect, opcode, index, value, ptr, opt) : 0;
}

void Vst2Effect::HostEventsPending()
{
    // The flag is dropped before looking again, and a producer looks at it after queuing, so an
    // event queued while the last sender was finishing is never left behind.
    while (instance->HostEventsWaiting())
    {
        bool expected = false;
        if (!sendingEvents.compare_exchange_strong(expected, true))
            return;
        HostEvent event;
        while (instance->PopHostEvent(event))
            SendHostEvent(event);
        sendingEvents.store(false);
    }
}

void Vst2Effect::SendHostEvent(const HostEvent& event)
{
    switch (event.kind)
    {
    case HostEvent::Kind::kValue:
        // The VST 2.4 host takes a single-precision value.
        CallHost(vst::audioMasterAutomate, event.paramIdx, 0, nullptr, static_cast<float>(event.normalized));
        break;
    case HostEvent::Kind::kBeginEdit:
        CallHost(vst::audioMasterBeginEdit, event.paramIdx);
        break;
    case HostEvent::Kind::kEndEdit:
        CallHost(vst::audioMasterEndEdit, event.paramIdx);
        break;
    case HostEvent::Kind::kDisplayChanged:
        CallHost(vst::audioMasterUpdateDisplay);
        break;
    }
}

TransportSnapshot Vst2Effect::ReadTransport(Needs needs)
{
    TransportSnapshot snapshot;
    if (!hostCallback)
        return snapshot;
    // One question per thing read, tempo first, each with its own filter: hosts may fill in only
    // what was asked.
    if (needs.tempo)
        if (const auto* info = reinterpret_cast<const VstTimeInfo*>(
                CallHost(vst::audioMasterGetTime, 0, vst::kVstTempoValid)))
        {
            snapshot.available = true;
            snapshot.tempoValid = (info->flags & vst::kVstTempoValid) != 0;
            snapshot.tempo = info->tempo;
        }
    if (needs.playing)
        if (const auto* info = reinterpret_cast<const VstTimeInfo*>(CallHost(vst::audioMasterGetTime)))
        {
            snapshot.available = true;
            snapshot.playing = (info->flags & vst::kVstTransportPlaying) != 0;
            snapshot.recording = (info->flags & vst::kVstTransportRecording) != 0;
        }
    return snapshot;
}

int Vst2Effect::HostCode()
{
    const int32_t known = hostCode.load(std::memory_order_acquire);
    if (known != static_cast<int32_t>(HostId::kNotAsked))
        return known;
    std::lock_guard<std::mutex> asking(hostCodeMutex);
    if (hostCode.load(std::memory_order_relaxed) != static_cast<int32_t>(HostId::kNotAsked))
        return hostCode.load(std::memory_order_relaxed);
    char productName[kHostTextSize] = {};
    CallHost(vst::audioMasterGetProductString, 0, 0, productName);
    productName[kHostTextSize - 1] = '\0';
    int32_t packed = 0;
    if (hostCallback && productName[0] != '\0')
    {
        const int64_t decimal =
            std::clamp<int64_t>(CallHost(vst::audioMasterGetVendorVersion), 0, 0x7FFFFFFF);
        packed = PackDecimalVersion(static_cast<int32_t>(decimal));
    }
    hostVersion.store(packed, std::memory_order_release);
    hostCode.store(static_cast<int32_t>(LookUpHost(productName)), std::memory_order_release);
    return hostCode.load(std::memory_order_relaxed);
}

void Vst2Effect::PrepareForHost()
{
    if (hostPrepared.exchange(true))
        return;
    if (!HostNeedsStereoInputsOnly(static_cast<HostId>(HostCode())))
        return;
    const int count = Vst2Channels::Count();
    channels.Connect(Vst2Channels::Side::kInput, 2, count - 2, false);
    // These hosts wire every output beyond the stereo pair.
    channels.Connect(Vst2Channels::Side::kOutput, 2, count - 2, true);
}
} // namespace tpm
