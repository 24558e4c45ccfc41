#include "core/PluginLock.h"

#include "core/ProcessorOwnership.h"
#include "core/ThreadCpuClock.h"

#include <chrono>
#include <cmath>

std::atomic<bool> PluginLock::timing{false};
std::atomic<int64_t> PluginLock::audioBlockAcquisitions{0};

namespace
{
int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

void PluginLock::RaiseTo(std::atomic<int64_t>& longest, int64_t value)
{
    int64_t seen = longest.load(std::memory_order_relaxed);
    while (value > seen && !longest.compare_exchange_weak(seen, value, std::memory_order_relaxed))
    {
    }
}

double PluginLock::BucketBoundUs(int bucket)
{
    return std::exp2(0.5 * bucket);
}

void PluginLock::Count(std::atomic<int64_t> (&counts)[kBuckets], int64_t ns)
{
    int bucket = 0;
    while (bucket < kBuckets - 1 && static_cast<double>(ns) >= 1000.0 * BucketBoundUs(bucket))
        ++bucket;
    counts[bucket].fetch_add(1, std::memory_order_relaxed);
}

void PluginLock::Lock(Role role)
{
    if (ProcessorOwnership::InAudioBlock())
        audioBlockAcquisitions.fetch_add(1, std::memory_order_relaxed);
    const bool timed = timing.load(std::memory_order_relaxed);
    const int64_t askedAt = timed ? NowNs() : 0;
    mutex.Lock();
    if (depth++ > 0)
        return;
    holderRole = role;
    if (timed)
    {
        acquiredAtNs = NowNs();
        acquiredAtCpuNs = ThreadCpuNowNs();
        RaiseTo(longestWaitNs[static_cast<int>(role)], acquiredAtNs - askedAt);
        Count(waitCounts[static_cast<int>(role)], acquiredAtNs - askedAt);
    }
    else
        acquiredAtNs = 0;
}

void PluginLock::Unlock()
{
    if (--depth > 0)
    {
        mutex.Unlock();
        return;
    }
    const Role role = holderRole;
    const bool callAfter = listener && listener->ReleasingLock(role);
    if (acquiredAtNs != 0)
    {
        RaiseTo(longestHoldNs[static_cast<int>(role)], NowNs() - acquiredAtNs);
        const int64_t cpu = ThreadCpuNowNs() - acquiredAtCpuNs;
        RaiseTo(longestHoldCpuNs[static_cast<int>(role)], cpu);
        Count(holdCpuCounts[static_cast<int>(role)], cpu);
    }
    mutex.Unlock();
    if (callAfter)
        listener->LockReleased();
}

PluginLock::Figures PluginLock::TakeFigures()
{
    Figures figures;
    for (int r = 0; r < 2; ++r)
    {
        figures.longestWaitNs[r] = longestWaitNs[r].exchange(0, std::memory_order_relaxed);
        figures.longestHoldNs[r] = longestHoldNs[r].exchange(0, std::memory_order_relaxed);
        figures.longestHoldCpuNs[r] = longestHoldCpuNs[r].exchange(0, std::memory_order_relaxed);
        for (int b = 0; b < kBuckets; ++b)
        {
            figures.waitCounts[r][b] = waitCounts[r][b].exchange(0, std::memory_order_relaxed);
            figures.holdCpuCounts[r][b] = holdCpuCounts[r][b].exchange(0, std::memory_order_relaxed);
        }
    }
    return figures;
}
