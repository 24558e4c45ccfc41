#include "core/PluginLock.h"

#include "core/ProcessorOwnership.h"

#include <cstdio>
#include <cstdlib>

namespace tpm
{
std::atomic<int64_t> PluginLock::audioBlockAcquisitions{0};

void PluginLock::Lock()
{
    if (ProcessorOwnership::InAudioBlock())
        audioBlockAcquisitions.fetch_add(1, std::memory_order_relaxed);
    if (HeldHere())
    {
        // A second take on the same thread would wait for itself for ever: say where it went wrong.
        std::fputs("twinPulseToneMix: the plug-in lock taken again by the thread that holds it\n", stderr);
        std::abort();
    }
    mutex.lock();
    owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

void PluginLock::Unlock()
{
    const bool callAfter = listener && listener->ReleasingLock();
    owner.store(std::thread::id{}, std::memory_order_relaxed);
    mutex.unlock();
    if (callAfter)
        listener->LockReleased();
}
} // namespace tpm
