#include "core/HostEventRing.h"

bool HostEventRing::Push(const HostEvent& event)
{
    const uint32_t at = head.load(std::memory_order_relaxed);
    if (at - tail.load(std::memory_order_acquire) >= kCapacity)
    {
        dropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    ring[at % kCapacity] = event;
    head.store(at + 1, std::memory_order_release);
    return true;
}

bool HostEventRing::Pop(HostEvent& out)
{
    const uint32_t at = tail.load(std::memory_order_relaxed);
    if (at == head.load(std::memory_order_acquire))
        return false;
    out = ring[at % kCapacity];
    tail.store(at + 1, std::memory_order_release);
    return true;
}
