// The plug-in lock: one recursive mutex per instance that keeps the main thread's structures
// (program slots, chunk buffers, the editor) consistent between the threads that change them. The
// audio thread never takes it. It knows its outermost level, so that work
// which must not run under it (messages to the host) can follow the last release, and it can time
// how long callers waited for it and held it.
#pragma once

#include "core/IRecursiveLock.h"

#include <atomic>
#include <cstdint>

class PluginLock
{
  public:
    // Who holds the lock: the audio thread inside a process callback, or anyone else.
    enum class Role : uint8_t
    {
        kAudio = 0,
        kOther = 1,
    };

    // Told about the outermost release: first still under the lock (answers whether to be called
    // again after it), then once the lock is free.
    class IReleaseListener
    {
      public:
        virtual bool ReleasingLock(Role role) = 0;
        virtual void LockReleased() = 0;

      protected:
        ~IReleaseListener() = default;
    };

    // Longest waits and holds since the last TakeFigures, in nanoseconds, by role: on the wall
    // clock, and the holds also in the holder's CPU time, which leaves out its preemption.
    // The counts show the spread: bucket b counts times below 2^(b/2) microseconds (the last, the
    // rest), in steps of √2.
    static constexpr int kBuckets = 40;
    static double BucketBoundUs(int bucket);
    struct Figures
    {
        int64_t longestWaitNs[2] = {};
        int64_t longestHoldNs[2] = {};
        int64_t longestHoldCpuNs[2] = {};
        int64_t waitCounts[2][kBuckets] = {};
        int64_t holdCpuCounts[2][kBuckets] = {};
    };

    explicit PluginLock(IReleaseListener* releaseListener = nullptr) : listener(releaseListener) {}
    PluginLock(const PluginLock&) = delete;
    PluginLock& operator=(const PluginLock&) = delete;

    void Lock(Role role = Role::kOther);
    void Unlock();
    // How often an audio block took any plug-in lock (it must never: a lock can make it wait).
    static int64_t AudioBlockAcquisitions() { return audioBlockAcquisitions.load(std::memory_order_relaxed); }

    // Timing costs a few clock reads per outermost lock; off, a relaxed load. Process-wide switch.
    static void EnableTiming(bool on) { timing.store(on, std::memory_order_relaxed); }
    Figures TakeFigures();

  private:
    static void RaiseTo(std::atomic<int64_t>& longest, int64_t value);
    static void Count(std::atomic<int64_t> (&counts)[kBuckets], int64_t ns);

    IRecursiveLock mutex;
    IReleaseListener* listener;
    // Written only by the thread holding the mutex.
    int depth = 0;
    Role holderRole = Role::kOther;
    int64_t acquiredAtNs = 0;
    int64_t acquiredAtCpuNs = 0;
    std::atomic<int64_t> longestWaitNs[2] = {};
    std::atomic<int64_t> longestHoldNs[2] = {};
    std::atomic<int64_t> longestHoldCpuNs[2] = {};
    std::atomic<int64_t> waitCounts[2][kBuckets] = {};
    std::atomic<int64_t> holdCpuCounts[2][kBuckets] = {};
    static std::atomic<bool> timing;
    static std::atomic<int64_t> audioBlockAcquisitions;
};
