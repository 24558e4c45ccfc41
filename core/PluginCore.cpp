#include "core/PluginCore.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace tpm
{
PluginCore::PluginCore(const EffectIdentity& identity)
    : params(identity.paramCount, *this), programs(identity.presetCount, params, lock),
      blocks(identity.inputs, identity.outputs)
{
    blocks.SetBlockSize(1024, lock, processor);
}

PluginCore::~PluginCore() = default;

void PluginCore::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    for (int c = 0; c < blocks.Outputs(); ++c)
    {
        double* out = outputs[c];
        if (c < blocks.Inputs())
            std::copy(inputs[c], inputs[c] + std::max(nFrames, 0), out);
        else
            std::fill(out, out + std::max(nFrames, 0), 0.0);
    }
}

void PluginCore::OnActivate(bool active)
{
    (void)active;
    ProcessorGuard guard(processor); // returns only after a running block has finished
}

void PluginCore::SetAudioRunning(bool running)
{
    audioRunning.store(running);
    if (!running)
        ApplyWhenIdle();
}

void PluginCore::ApplyWhenIdle()
{
    if (audioRunning.load())
    {
        ApplyIfBlocksStopped();
        return;
    }
    ProcessorGuard guard(processor);
    ApplyQueuedChanges();
}

void PluginCore::ApplyIfBlocksStopped()
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
    ScopedLock guard(lock);
    ApplyIfProcessorFree();
}

void PluginCore::ApplyIfProcessorFree()
{
    if (!processor.TryTake())
        return;
    ApplyQueuedChanges();
    processor.Release();
}

int64_t PluginCore::SteadyNanoseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::max<int64_t>(1, std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

bool PluginCore::BlocksStopped() const
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

void PluginCore::Open()
{
    ScopedLock guard(lock);
    params.AnnounceAll();
}

void PluginCore::SetSampleRate(double rate)
{
    // A rate that is not finite and positive would poison every increment: keep the last.
    if (!std::isfinite(rate) || rate <= 0.0)
        return;
    ScopedLock guard(lock);
    sampleRate.store(rate, std::memory_order_relaxed);
    ResetEngine();
}

void PluginCore::SetHostBlockSize(int frames)
{
    if (frames <= 0)
        return;
    blocks.SetBlockSize(frames, lock, processor); // takes the lock only to exchange the buffers
    ScopedLock guard(lock);
    ResetEngine();
}

void PluginCore::SetActive(bool active)
{
    ScopedLock guard(lock);
    OnActivate(active);
    // Switched off, no block will come to apply changes: from here on they apply at once. Switched
    // on, the first block is due now.
    if (active)
        lastBlockStart.store(SteadyNanoseconds(), std::memory_order_release);
    audioRunning.store(active);
    if (!active)
        ResetEngine();
}
} // namespace tpm
