// The plug-in lock: one recursive mutex per instance that keeps the structures of the host's other
// threads (program slots, chunk buffers, the editor) consistent between the threads that change
// them. The audio thread never takes it; it counts any audio block that does, for the tests. It
// knows its outermost level, so that work which must not run under it (messages to the host) can
// follow the last release.
#pragma once

#include "core/IRecursiveLock.h"

#include <atomic>
#include <cstdint>

class PluginLock
{
  public:
    // Told about the outermost release: first still under the lock (answers whether to be called
    // again after it), then once the lock is free.
    class IReleaseListener
    {
      public:
        virtual bool ReleasingLock() = 0;
        virtual void LockReleased() = 0;

      protected:
        ~IReleaseListener() = default;
    };

    explicit PluginLock(IReleaseListener* releaseListener = nullptr) : listener(releaseListener) {}
    PluginLock(const PluginLock&) = delete;
    PluginLock& operator=(const PluginLock&) = delete;

    void Lock();
    void Unlock();

    // How often an audio block took any plug-in lock (it must never: a lock can make it wait).
    static int64_t AudioBlockAcquisitions() { return audioBlockAcquisitions.load(std::memory_order_relaxed); }

  private:
    IRecursiveLock mutex;
    IReleaseListener* listener;
    int depth = 0; // written only by the thread holding the mutex
    static std::atomic<int64_t> audioBlockAcquisitions;
};
