#include "core/HostMessageQueue.h"

namespace tpm
{
void HostMessageQueue::Push(const Message& message)
{
    const uint32_t at = head.load(std::memory_order_relaxed);
    if (at - tail.load(std::memory_order_acquire) >= kCapacity)
    {
        dropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    ring[at % kCapacity] = message;
    head.store(at + 1);
}

bool HostMessageQueue::Pop(Message& out)
{
    const uint32_t at = tail.load(std::memory_order_relaxed);
    if (at == head.load(std::memory_order_acquire))
        return false;
    out = ring[at % kCapacity];
    tail.store(at + 1, std::memory_order_release);
    return true;
}

void HostMessageQueue::SendAll(IHostLink& host)
{
    // The flag is dropped before looking again, and a producer looks at it after queuing, so a
    // message queued while the last sender was finishing is never left behind.
    while (!Empty())
    {
        bool expected = false;
        if (!sending.compare_exchange_strong(expected, true))
            return;
        Message message;
        while (Pop(message))
            Send(host, message);
        sending.store(false);
    }
}

void HostMessageQueue::Send(IHostLink& host, const Message& message)
{
    switch (message.kind)
    {
    case Kind::kAutomate:
        host.Automate(message.paramIdx, message.value);
        break;
    case Kind::kBeginEdit:
        host.BeginEdit(message.paramIdx);
        break;
    case Kind::kEndEdit:
        host.EndEdit(message.paramIdx);
        break;
    case Kind::kUpdateDisplay:
        host.UpdateDisplay();
        break;
    }
}
} // namespace tpm
