#include "core/PendingChanges.h"

namespace tpm
{
uint64_t PendingChanges::Bit(int paramIdx)
{
    return paramIdx >= 0 && paramIdx < kMaxParams ? uint64_t{1} << paramIdx : 0;
}

void PendingChanges::MarkHandle(int paramIdx)
{
    // Release: the taker that sees the mark also sees the value stored before it.
    handles.fetch_or(Bit(paramIdx), std::memory_order_release);
}

void PendingChanges::MarkSyncClickThenHandle(int paramIdx)
{
    // The click first: a taker never finds the handler without the click that goes before it.
    syncClicks.fetch_or(Bit(paramIdx), std::memory_order_release);
    handles.fetch_or(Bit(paramIdx), std::memory_order_release);
}

void PendingChanges::MarkPressThenHandle(int paramIdx)
{
    presses.fetch_or(Bit(paramIdx), std::memory_order_release);
    handles.fetch_or(Bit(paramIdx), std::memory_order_release);
}

void PendingChanges::MarkReset()
{
    reset.store(true, std::memory_order_release);
}

bool PendingChanges::Empty() const
{
    return handles.load(std::memory_order_acquire) == 0 && !reset.load(std::memory_order_acquire);
}

uint64_t PendingChanges::TakeBefore(std::atomic<uint64_t>& marks, uint64_t handlesTaken)
{
    // A mark whose handler was marked after the handles were taken waits for that handler.
    const uint64_t taken = marks.exchange(0, std::memory_order_acq_rel);
    if (const uint64_t early = taken & ~handlesTaken)
        marks.fetch_or(early, std::memory_order_release);
    return taken & handlesTaken;
}

PendingChanges::Taken PendingChanges::TakeAll()
{
    Taken taken;
    taken.reset = reset.exchange(false, std::memory_order_acq_rel);
    taken.handles = handles.exchange(0, std::memory_order_acq_rel);
    taken.syncClicks = TakeBefore(syncClicks, taken.handles);
    taken.presses = TakeBefore(presses, taken.handles);
    return taken;
}
} // namespace tpm
