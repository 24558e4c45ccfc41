// The core's messages to the host, as audioMaster calls through the host's callback.
#include "formats/vst2/IEffectVST.h"

#include <cstring>

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

void IEffectVST::GetProductString(char* text, int capacity)
{
    if (!text || capacity <= 0)
        return;
    std::memset(text, 0, static_cast<std::size_t>(capacity));
    CallHost(vst::audioMasterGetProductString, 0, 0, text);
    text[capacity - 1] = '\0';
}

int64_t IEffectVST::GetVendorVersion()
{
    return CallHost(vst::audioMasterGetVendorVersion);
}
