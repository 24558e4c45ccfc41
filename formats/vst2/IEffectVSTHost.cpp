// The core's messages to the host, as audioMaster calls through the host's callback.
#include "formats/vst2/HostTable.h"
#include "formats/vst2/IEffectVST.h"

#include <algorithm>
#include <utility>

#include <cstring>

namespace
{
constexpr int kHostTextSize = 256;
} // namespace

VstIntPtr IEffectVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return hostCallback ? hostCallback(&effect, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::Automate(int paramIdx, double normalized)
{
    // The VST 2.4 host takes a single-precision value.
    CallHost(vst::audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IEffectVST::BeginEdit(int paramIdx)
{
    CallHost(vst::audioMasterBeginEdit, paramIdx);
}

void IEffectVST::EndEdit(int paramIdx)
{
    CallHost(vst::audioMasterEndEdit, paramIdx);
}

void IEffectVST::UpdateDisplay()
{
    CallHost(vst::audioMasterUpdateDisplay);
}

bool IEffectVST::GetTime(TimeRequest request, HostTimeInfo& out)
{
    if (!hostCallback)
        return false;
    VstInt32 filter = 0;
    if (request == TimeRequest::kTempo)
        filter = vst::kVstTempoValid;
    else if (request == TimeRequest::kTimeSignature)
        filter = vst::kVstTimeSigValid;
    const auto* info = reinterpret_cast<const VstTimeInfo*>(CallHost(vst::audioMasterGetTime, 0, filter));
    if (!info)
        return false;
    out.samplePos = info->samplePos;
    out.tempo = info->tempo;
    out.timeSigNumerator = info->timeSigNumerator;
    out.timeSigDenominator = info->timeSigDenominator;
    out.playing = (info->flags & vst::kVstTransportPlaying) != 0;
    out.recording = (info->flags & vst::kVstTransportRecording) != 0;
    out.tempoValid = (info->flags & vst::kVstTempoValid) != 0;
    out.timeSigValid = (info->flags & vst::kVstTimeSigValid) != 0;
    return true;
}

int IEffectVST::HostCode()
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

void IEffectVST::PrepareForHost()
{
    ILockGuard guard(product->Lock());
    if (std::exchange(hostPrepared, true))
        return;
    if (!HostNeedsStereoInputsOnly(static_cast<HostId>(HostCode())))
        return;
    const int inputs = product->ChannelCount(IEffectBase::Side::Input);
    const int outputs = product->ChannelCount(IEffectBase::Side::Output);
    product->SetChannelConnections(IEffectBase::Side::Input, 2, inputs - 2, false);
    // These hosts wire every output beyond the stereo pair.
    product->SetChannelConnections(IEffectBase::Side::Output, 2, outputs - 2, true);
}
