// Messages from the plug-in core to its host: edit gestures and automation (queued under the
// plug-in lock, sent after it, or by the audio thread at the end of its block), and the transport.
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

TransportSnapshot IEffectBase::ReadTransport(TransportNeeds needs)
{
    return host ? host->Transport(needs) : TransportSnapshot{};
}
