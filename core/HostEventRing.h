// A fixed ring of host events between one producing thread at a time and one consuming thread at a
// time. Neither side waits or allocates; a full ring drops the newest event and counts it.
#pragma once

#include "core/HostEvent.h"

#include <array>
#include <atomic>
#include <cstdint>

class HostEventRing
{
  public:
    static constexpr uint32_t kCapacity = 1024;

    bool Push(const HostEvent& event);
    bool Pop(HostEvent& out);
    bool Empty() const
    {
        return head.load(std::memory_order_acquire) == tail.load(std::memory_order_acquire);
    }
    uint32_t Dropped() const { return dropped.load(std::memory_order_relaxed); }

  private:
    std::array<HostEvent, kCapacity> ring{};
    std::atomic<uint32_t> head{0}; // next slot to fill
    std::atomic<uint32_t> tail{0}; // next slot to read
    std::atomic<uint32_t> dropped{0};
};
