#include "core/ProcessorOwnership.h"

#include <thread>

namespace tpm
{
thread_local const ProcessorOwnership* ProcessorOwnership::heldHere = nullptr;
thread_local bool ProcessorOwnership::audioBlock = false;

bool ProcessorOwnership::TryTakeForAudio()
{
    if (taken.exchange(true, std::memory_order_acquire))
        return false;
    Hold(true);
    return true;
}

void ProcessorOwnership::Take()
{
    if (HeldHere())
    {
        ++depth;
        return;
    }
    // Only a block in progress (or another thread's buffer exchange) holds it: short waits.
    while (taken.exchange(true, std::memory_order_acquire))
        std::this_thread::yield();
    Hold(false);
}

bool ProcessorOwnership::TryTake()
{
    if (HeldHere())
    {
        ++depth;
        return true;
    }
    if (taken.exchange(true, std::memory_order_acquire))
        return false;
    Hold(false);
    return true;
}

void ProcessorOwnership::Hold(bool audio)
{
    depth = 1;
    heldBefore = heldHere;
    audioBefore = audioBlock;
    heldHere = this;
    audioBlock = audio;
}

void ProcessorOwnership::Release()
{
    if (!HeldHere() || --depth > 0)
        return;
    heldHere = heldBefore;
    audioBlock = audioBefore;
    taken.store(false, std::memory_order_release);
}
} // namespace tpm
