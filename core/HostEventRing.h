// Host events on their way to the binding: pushed by the thread that sends the product's messages
// and by the audio thread, drained by the binding. Nothing waits; a full ring drops the newest
// event and counts it.
#pragma once

#include "core/BoundedQueue.h"
#include "core/HostEvent.h"

#include <atomic>
#include <cstdint>

class HostEventRing
{
  public:
    static constexpr std::size_t kCapacity = 1024;

    bool Push(const HostEvent& event)
    {
        if (queue.Push(event))
            return true;
        dropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    bool Pop(HostEvent& out) { return queue.Pop(out); }
    bool Empty() const { return queue.Empty(); }
    uint32_t Dropped() const { return dropped.load(std::memory_order_relaxed); }

  private:
    BoundedQueue<HostEvent, kCapacity> queue;
    std::atomic<uint32_t> dropped{0};
};
