// The plug-in lock: one mutex per instance that keeps the structures of the host's other threads
// (program slots, chunk buffers, the editor) consistent between the threads that change them. It
// is not re-entrant: a thread that already holds it must not take it again, and doing so stops the
// program with a message rather than leaving it to wait on itself. The audio thread never takes it;
// it counts any audio block that does, for the tests. On each release it tells a listener,
// so that work which must not run under it (messages to the host) can follow.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace tpm
{
class PluginLock
{
  public:
    // Told about the release: first still under the lock (answers whether to be called again after
    // it), then once the lock is free.
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
    // Whether the calling thread holds it: for the few steps that run both inside a request that
    // holds it and on their own.
    bool HeldHere() const { return owner.load(std::memory_order_relaxed) == std::this_thread::get_id(); }

    // How often an audio block took any plug-in lock (it must never: a lock can make it wait).
    static int64_t AudioBlockAcquisitions() { return audioBlockAcquisitions.load(std::memory_order_relaxed); }

  private:
    std::mutex mutex;
    // Written only by the holder; another thread reads either a different id or none, never its own.
    std::atomic<std::thread::id> owner{};
    IReleaseListener* listener;
    static std::atomic<int64_t> audioBlockAcquisitions;
};

// Holds a lock (anything with Lock and Unlock) for the lifetime of a scope.
template <typename LockType> class ScopedLock
{
  public:
    explicit ScopedLock(LockType& l) : lock(l) { lock.Lock(); }
    ~ScopedLock() { lock.Unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

  private:
    LockType& lock;
};
} // namespace tpm
