// Messages from the plug-in to its host: automation, edit gestures, time information, identity.
#include "core/HostTable.h"
#include "core/IEditorLink.h"
#include "vst/IEffectVST.h"

#include <algorithm>
#include <cstring>

VstIntPtr IEffectVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return hostCallback ? hostCallback(&effect, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::HostBeginEdit(int paramIdx)
{
    ILockGuard guard(lock);
    FlushDelayedEndEdit();
    CallHost(vst::audioMasterBeginEdit, paramIdx);
}

void IEffectVST::HostBeginEditIfNew(int paramIdx)
{
    ILockGuard guard(lock);
    if (paramIdx == pendingEndEdit)
        return; // the gesture continues the edit that is still open
    FlushDelayedEndEdit();
    CallHost(vst::audioMasterBeginEdit, paramIdx);
}

void IEffectVST::HostAutomate(int paramIdx, double normalized)
{
    ILockGuard guard(lock);
    CallHost(vst::audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IEffectVST::HostEndEdit(int paramIdx)
{
    ILockGuard guard(lock);
    CallHost(vst::audioMasterEndEdit, paramIdx);
}

void IEffectVST::HostEndEditDelayed(int paramIdx)
{
    ILockGuard guard(lock);
    if (!editor)
    {
        HostEndEdit(paramIdx);
        return;
    }
    pendingEndEdit = paramIdx;
    editor->SetEndEditCountdown(std::max(editor->FrameRate() / 2, 1));
}

void IEffectVST::FlushDelayedEndEdit()
{
    ILockGuard guard(lock);
    if (editor)
        editor->ClearEndEditCountdown();
    if (pendingEndEdit >= 0)
    {
        HostEndEdit(pendingEndEdit);
        pendingEndEdit = -1;
    }
}

void IEffectVST::HostUpdateDisplay()
{
    ILockGuard guard(lock);
    CallHost(vst::audioMasterUpdateDisplay);
}

const VstTimeInfo* IEffectVST::GetTimeInfo(VstInt32 filter)
{
    return reinterpret_cast<const VstTimeInfo*>(CallHost(vst::audioMasterGetTime, 0, filter));
}

int IEffectVST::GetTransportState()
{
    const VstTimeInfo* info = GetTimeInfo(0);
    if (!info)
        return 0;
    if (info->flags & vst::kVstTransportPlaying)
        return 1;
    return (info->flags & vst::kVstTransportRecording) ? 2 : 0;
}

int IEffectVST::GetSamplePosition()
{
    const VstTimeInfo* info = GetTimeInfo(0);
    // Beyond the 32-bit range the position is of no use to anyone; answer 0 rather than wrap.
    if (!info || !(info->samplePos >= 0.0) || info->samplePos + 0.5 >= 2147483648.0)
        return 0;
    return static_cast<int>(info->samplePos + 0.5);
}

double IEffectVST::GetTempo()
{
    if (!hostCallback)
        return 0.0;
    const VstTimeInfo* info = GetTimeInfo(vst::kVstTempoValid);
    if (info && (info->flags & vst::kVstTempoValid) && info->tempo >= 0.0)
        return info->tempo;
    return 0.0;
}

double IEffectVST::GetSamplesPerBeat()
{
    const double tempo = GetTempo();
    return tempo > 0.0 ? sampleRate / tempo * 60.0 : 0.0;
}

void IEffectVST::GetTimeSignature(int& numerator, int& denominator)
{
    numerator = denominator = 0;
    const VstTimeInfo* info = GetTimeInfo(vst::kVstTimeSigValid);
    if (info && (info->flags & vst::kVstTimeSigValid) && info->timeSigNumerator >= 0 &&
        info->timeSigDenominator >= 0)
    {
        numerator = info->timeSigNumerator;
        denominator = info->timeSigDenominator;
    }
}

int IEffectVST::GetHostId()
{
    if (hostId != -1)
        return hostId;
    char product[256] = {};
    CallHost(vst::audioMasterGetProductString, 0, 0, product);
    product[sizeof product - 1] = '\0';
    int32_t packed = 0;
    if (product[0] != '\0')
    {
        const VstIntPtr decimal = CallHost(vst::audioMasterGetVendorVersion);
        packed = PackDecimalVersion(static_cast<int32_t>(std::clamp<VstIntPtr>(decimal, 0, 0x7FFFFFFF)));
    }
    hostVersion = packed;
    hostId = LookUpHost(product);
    return hostId;
}

bool IEffectVST::SendOneEvent(VstEvent* event)
{
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = event;
    ILockGuard guard(lock);
    return CallHost(vst::audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IEffectVST::SendMidiMessage(const IMidiMsg& msg)
{
    VstMidiEvent event{};
    event.type = vst::kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = msg.offset;
    event.midiData[0] = static_cast<char>(msg.status);
    event.midiData[1] = static_cast<char>(msg.data1);
    event.midiData[2] = static_cast<char>(msg.data2);
    return SendOneEvent(reinterpret_cast<VstEvent*>(&event));
}

bool IEffectVST::SendMidiMessages(const IMidiMsg* list, int count)
{
    bool allSent = true;
    for (int i = 0; list && i < count; ++i)
        allSent = SendMidiMessage(list[i]) && allSent;
    return allSent;
}

bool IEffectVST::SendSysEx(const ISysExMsg& msg)
{
    VstMidiSysexEvent event{};
    event.type = vst::kVstSysExType;
    event.byteSize = sizeof(VstMidiSysexEvent);
    event.deltaFrames = msg.offset;
    event.dumpBytes = msg.size;
    event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(msg.data));
    return SendOneEvent(reinterpret_cast<VstEvent*>(&event));
}
