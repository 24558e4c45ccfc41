// Messages to the host that are made under the plug-in lock but must reach the host after it is
// released: a fixed ring reserved up front (nothing is allocated when a message is queued), filled
// under the plug-in lock and emptied, in order, by one sending thread at a time.
#pragma once

#include "core/IHostLink.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace tpm
{
class HostMessageQueue
{
  public:
    enum class Kind : uint8_t
    {
        kAutomate,
        kBeginEdit,
        kEndEdit,
        kUpdateDisplay,
    };
    struct Message
    {
        Kind kind = Kind::kUpdateDisplay;
        int32_t paramIdx = 0;
        double value = 0.0;
    };

    static constexpr uint32_t kCapacity = 1024;

    HostMessageQueue() : ring(kCapacity) {}

    // Caller holds the plug-in lock. A full ring drops the message and counts it: blocking or
    // growing here could stall the audio thread.
    void Push(const Message& message);
    bool Empty() const { return head.load() == tail.load(); }
    // Sends everything queued, oldest first. When another thread is already sending (or this one,
    // re-entered from inside a host callback), that sender takes these messages too.
    void SendAll(IHostLink& host);
    uint32_t Dropped() const { return dropped.load(std::memory_order_relaxed); }

  private:
    bool Pop(Message& out);
    static void Send(IHostLink& host, const Message& message);

    std::vector<Message> ring;
    std::atomic<uint32_t> head{0}; // next slot to fill
    std::atomic<uint32_t> tail{0}; // next slot to send
    std::atomic<bool> sending{false};
    std::atomic<uint32_t> dropped{0};
};
} // namespace tpm
