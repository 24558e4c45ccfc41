// A fixed-capacity queue, allocated with its owner, for values crossing threads: any number of
// producers at once, one consumer at a time. A push or pop never waits on another thread, never
// allocates and never frees; a push into a full queue answers false and leaves it as it was.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tpm
{
template <typename T, std::size_t Capacity> class BoundedQueue
{
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "a power of two");

  public:
    BoundedQueue()
    {
        for (std::size_t i = 0; i < Capacity; ++i)
            cells[i].sequence.store(i, std::memory_order_relaxed);
    }
    BoundedQueue(const BoundedQueue&) = delete;
    BoundedQueue& operator=(const BoundedQueue&) = delete;

    bool Push(const T& value)
    {
        std::size_t at = head.load(std::memory_order_relaxed);
        for (;;)
        {
            Cell& cell = cells[at & (Capacity - 1)];
            const std::size_t sequence = cell.sequence.load(std::memory_order_acquire);
            const auto lag = static_cast<std::ptrdiff_t>(sequence) - static_cast<std::ptrdiff_t>(at);
            if (lag == 0)
            {
                // The cell is free for this round: claim it, or learn where the others got to.
                if (head.compare_exchange_weak(at, at + 1, std::memory_order_relaxed))
                {
                    cell.value = value;
                    cell.sequence.store(at + 1, std::memory_order_release);
                    return true;
                }
            }
            else if (lag < 0)
                return false; // the consumer has not read this cell's last value yet: full
            else
                at = head.load(std::memory_order_relaxed);
        }
    }

    bool Pop(T& out)
    {
        const std::size_t at = tail.load(std::memory_order_relaxed);
        Cell& cell = cells[at & (Capacity - 1)];
        if (cell.sequence.load(std::memory_order_acquire) != at + 1)
            return false; // empty, or its producer is still writing it
        out = cell.value;
        cell.sequence.store(at + Capacity, std::memory_order_release);
        tail.store(at + 1, std::memory_order_relaxed);
        return true;
    }

    bool Empty() const
    {
        const std::size_t at = tail.load(std::memory_order_relaxed);
        return cells[at & (Capacity - 1)].sequence.load(std::memory_order_acquire) != at + 1;
    }

  private:
    struct Cell
    {
        std::atomic<std::size_t> sequence{0};
        T value{};
    };
    std::array<Cell, Capacity> cells;
    alignas(64) std::atomic<std::size_t> head{0}; // next cell to fill
    alignas(64) std::atomic<std::size_t> tail{0}; // next cell to read
};
} // namespace tpm
