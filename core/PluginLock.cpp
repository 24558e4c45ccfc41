#include "core/PluginLock.h"

#include "core/ProcessorOwnership.h"

std::atomic<int64_t> PluginLock::audioBlockAcquisitions{0};

void PluginLock::Lock()
{
    if (ProcessorOwnership::InAudioBlock())
        audioBlockAcquisitions.fetch_add(1, std::memory_order_relaxed);
    mutex.Lock();
    ++depth;
}

void PluginLock::Unlock()
{
    if (--depth > 0)
    {
        mutex.Unlock();
        return;
    }
    const bool callAfter = listener && listener->ReleasingLock();
    mutex.Unlock();
    if (callAfter)
        listener->LockReleased();
}
