#include "core/IEffectBase.h"

#include "core/ProcessTypes.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace
{
template <typename T> void FreeLastToFirst(std::vector<T>& list)
{
    while (!list.empty())
        list.pop_back();
}
} // namespace

IEffectBase::IEffectBase(const IEffectIdentity& identity)
    : params(identity.paramCount, *this), programs(identity.presetCount, params, lock)
{
    inputCount = std::max(identity.inputs, 0);
    outputCount = std::max(identity.outputs, 0);
    inputPointers.assign(static_cast<std::size_t>(inputCount), nullptr);
    outputPointers.assign(static_cast<std::size_t>(outputCount), nullptr);
    for (int i = 0; i < inputCount; ++i)
    {
        inputChannels.push_back(std::make_unique<Channel>());
        inputChannels.back()->slot = &inputPointers[static_cast<std::size_t>(i)];
    }
    for (int i = 0; i < outputCount; ++i)
    {
        outputChannels.push_back(std::make_unique<Channel>());
        outputChannels.back()->slot = &outputPointers[static_cast<std::size_t>(i)];
    }
    SetBlockSize(1024);
}

IEffectBase::~IEffectBase()
{
    FreeLastToFirst(inputChannels);
    FreeLastToFirst(outputChannels);
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    for (int c = 0; c < outputCount; ++c)
    {
        double* out = outputs[c];
        if (c < inputCount)
            std::copy(inputs[c], inputs[c] + std::max(nFrames, 0), out);
        else
            std::fill(out, out + std::max(nFrames, 0), 0.0);
    }
}

void IEffectBase::OnActivate(bool active)
{
    (void)active;
    ProcessorGuard guard(processor); // returns only after a running block has finished
}

void IEffectBase::SetAudioRunning(bool running)
{
    audioRunning.store(running);
    if (!running)
        ApplyWhenIdle();
}

void IEffectBase::ApplyWhenIdle()
{
    if (audioRunning.load())
    {
        ApplyIfBlocksStopped();
        return;
    }
    ProcessorGuard guard(processor);
    ApplyQueuedChanges();
}

void IEffectBase::ApplyIfBlocksStopped()
{
    if (pending.Empty() || !BlocksStopped())
        return;
    // The plug-in lock before the processor, in the order every other thread takes them (a request
    // that changed a value holds it already); the processor only if it is free: a block that comes
    // meanwhile applies the changes itself.
    if (lock.HeldHere())
    {
        ApplyIfProcessorFree();
        return;
    }
    ILockGuard guard(lock);
    ApplyIfProcessorFree();
}

void IEffectBase::ApplyIfProcessorFree()
{
    if (!processor.TryTake())
        return;
    ApplyQueuedChanges();
    processor.Release();
}

int64_t IEffectBase::SteadyNanoseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::max<int64_t>(1, std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

bool IEffectBase::BlocksStopped() const
{
    const int64_t last = lastBlockStart.load(std::memory_order_acquire);
    if (last == 0)
        return true;
    // Several lengths of the last block, and never less than a host's slowest usual callback period,
    // so that a host calling on time is never taken for one that stopped.
    constexpr int64_t kMinimumGapNs = 50'000'000;
    const double blockNs = lastBlockFrames.load(std::memory_order_relaxed) / SampleRate() * 1e9;
    const int64_t gap = std::max(kMinimumGapNs, static_cast<int64_t>(4.0 * blockNs));
    return SteadyNanoseconds() - last > gap;
}

void IEffectBase::Open()
{
    ILockGuard guard(lock);
    params.AnnounceAll();
}

void IEffectBase::SetSampleRate(double rate)
{
    // A rate that is not finite and positive would poison every increment: keep the last.
    if (!std::isfinite(rate) || rate <= 0.0)
        return;
    ILockGuard guard(lock);
    sampleRate.store(rate, std::memory_order_relaxed);
    ResetEngine();
}

void IEffectBase::SetHostBlockSize(int frames)
{
    if (frames <= 0)
        return;
    SetBlockSize(frames); // takes the lock only to exchange the buffers
    ILockGuard guard(lock);
    ResetEngine();
}

void IEffectBase::SetActive(bool active)
{
    ILockGuard guard(lock);
    OnActivate(active);
    // Switched off, no block will come to apply changes: from here on they apply at once. Switched
    // on, the first block is due now.
    if (active)
        lastBlockStart.store(SteadyNanoseconds(), std::memory_order_release);
    audioRunning.store(active);
    if (!active)
        ResetEngine();
}

void IEffectBase::SetBlockSize(int frames)
{
    // A size of 0 or less would leave no room at all: keep the previous one.
    if (frames <= 0)
        return;
    frames = std::min(frames, kMaxBlockFrames);
    if (frames == BlockSize())
        return;
    // Allocate every new buffer before touching the old ones, so a size the machine cannot
    // hold leaves the previous block size working; the allocation and the freeing of the old
    // buffers happen outside the plug-in lock, only the exchange under it.
    std::vector<std::vector<double>> fresh;
    try
    {
        fresh.resize(inputChannels.size() + outputChannels.size());
        for (auto& buffer : fresh)
            buffer.assign(static_cast<std::size_t>(frames), 0.0);
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    ILockGuard guard(lock);
    ProcessorGuard exchange(processor);
    std::size_t next = 0;
    for (auto* channels : {&inputChannels, &outputChannels})
        for (auto& channel : *channels)
            channel->scratch.swap(fresh[next++]);
    blockSize.store(frames, std::memory_order_relaxed);
}
