// What a plug-in sends from the audio thread, kept for the main thread to report: a fixed ring with
// one writer and one reader that never waits or allocates; when it is full the newest entry is dropped.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace tpm
{
template <typename Entry, std::size_t Capacity> class SentRing
{
  public:
    // The writer: false (and the entry dropped) when the reader is a whole ring behind.
    bool Push(const Entry& entry)
    {
        const std::size_t at = written.load(std::memory_order_relaxed);
        if (at - read.load(std::memory_order_acquire) >= Capacity)
            return false;
        ring[at % Capacity] = entry;
        written.store(at + 1, std::memory_order_release);
        return true;
    }
    // The reader: the oldest entry, false when there is none.
    bool Pop(Entry& entry)
    {
        const std::size_t at = read.load(std::memory_order_relaxed);
        if (at == written.load(std::memory_order_acquire))
            return false;
        entry = ring[at % Capacity];
        read.store(at + 1, std::memory_order_release);
        return true;
    }

  private:
    std::array<Entry, Capacity> ring{};
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> read{0};
};
} // namespace tpm
