#include "core/HostMessenger.h"

namespace tpm
{
void HostMessenger::Queue(HostMessageQueue::Kind kind, int paramIdx, double value)
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
    ScopedLock guard(lock);
    messages.Push({kind, paramIdx, value});
}

bool HostMessenger::ReleasingLock()
{
    return !messages.Empty();
}

void HostMessenger::LockReleased()
{
    if (host)
        messages.SendAll(*host);
}

void HostMessenger::SendBlockMessages()
{
    if (host)
        audioMessages.SendAll(*host);
}

void HostMessenger::BeginEdit(int paramIdx)
{
    Queue(HostMessageQueue::Kind::kBeginEdit, paramIdx);
}

void HostMessenger::Automate(int paramIdx, double normalized)
{
    Queue(HostMessageQueue::Kind::kAutomate, paramIdx, normalized);
}

void HostMessenger::EndEdit(int paramIdx)
{
    Queue(HostMessageQueue::Kind::kEndEdit, paramIdx);
}

void HostMessenger::UpdateDisplay()
{
    Queue(HostMessageQueue::Kind::kUpdateDisplay, 0);
}

TransportSnapshot HostMessenger::Transport(TransportNeeds needs)
{
    return host ? host->Transport(needs) : TransportSnapshot{};
}
} // namespace tpm
