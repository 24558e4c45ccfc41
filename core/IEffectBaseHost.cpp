// Messages from the plug-in core to its host: edit gestures and automation (queued under the
// plug-in lock, sent after it, or by the audio thread at the end of its block), time information
// and the host's identity.
#include "core/IEffectBase.h"

#include <algorithm>
#include <utility>

void IEffectBase::Queue(HostMessageQueue::Kind kind, int paramIdx, double value)
{
    // An audio block's messages wait for the end of the block, in a queue of its own.
    if (ProcessorOwnership::InAudioBlock() && processor.HeldHere())
    {
        audioMessages.Push({kind, paramIdx, value});
        return;
    }
    // Inside a request that holds the plug-in lock the message joins those sent after its release.
    if (lock.HeldHere())
    {
        messages.Push({kind, paramIdx, value});
        return;
    }
    ILockGuard guard(lock);
    messages.Push({kind, paramIdx, value});
}

bool IEffectBase::ReleasingLock()
{
    return !messages.Empty();
}

void IEffectBase::LockReleased()
{
    if (host)
        messages.SendAll(*host);
}

void IEffectBase::HostBeginEdit(int paramIdx)
{
    Queue(HostMessageQueue::Kind::kBeginEdit, paramIdx);
}

void IEffectBase::HostAutomate(int paramIdx, double normalized)
{
    Queue(HostMessageQueue::Kind::kAutomate, paramIdx, normalized);
}

void IEffectBase::HostEndEdit(int paramIdx)
{
    Queue(HostMessageQueue::Kind::kEndEdit, paramIdx);
}

void IEffectBase::HostUpdateDisplay()
{
    Queue(HostMessageQueue::Kind::kUpdateDisplay, 0);
}

bool IEffectBase::AskTime(TimeRequest request, HostTimeInfo& info)
{
    info = HostTimeInfo{};
    return host && host->GetTime(request, info);
}

int IEffectBase::GetTransportState()
{
    HostTimeInfo info;
    if (!AskTime(TimeRequest::kTransport, info))
        return 0;
    if (info.playing)
        return 1;
    return info.recording ? 2 : 0;
}

double IEffectBase::GetTempo()
{
    HostTimeInfo info;
    if (AskTime(TimeRequest::kTempo, info) && info.tempoValid && info.tempo >= 0.0)
        return info.tempo;
    return 0.0;
}

double IEffectBase::GetSamplesPerBeat()
{
    const double tempo = GetTempo();
    return tempo > 0.0 ? SampleRate() / tempo * 60.0 : 0.0;
}

void IEffectBase::GetTimeSignature(int& numerator, int& denominator)
{
    numerator = denominator = 0;
    HostTimeInfo info;
    if (AskTime(TimeRequest::kTimeSignature, info) && info.timeSigValid && info.timeSigNumerator >= 0 &&
        info.timeSigDenominator >= 0)
    {
        numerator = info.timeSigNumerator;
        denominator = info.timeSigDenominator;
    }
}
