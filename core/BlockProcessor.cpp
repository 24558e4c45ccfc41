#include "core/BlockProcessor.h"

#include "core/ProcessTypes.h"

#include <algorithm>
#include <new>

namespace tpm
{
namespace
{
template <typename T> void FreeLastToFirst(std::vector<T>& list)
{
    while (!list.empty())
        list.pop_back();
}
} // namespace

BlockProcessor::BlockProcessor(int inputs, int outputs)
{
    inputCount = std::max(inputs, 0);
    outputCount = std::max(outputs, 0);
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
}

BlockProcessor::~BlockProcessor()
{
    FreeLastToFirst(inputChannels);
    FreeLastToFirst(outputChannels);
}

void BlockProcessor::SetBlockSize(int frames, PluginLock& lock, ProcessorOwnership& processor)
{
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
    ScopedLock guard(lock);
    ProcessorGuard exchange(processor);
    std::size_t next = 0;
    for (auto* channels : {&inputChannels, &outputChannels})
        for (auto& channel : *channels)
            channel->scratch.swap(fresh[next++]);
    blockSize.store(frames, std::memory_order_relaxed);
}

template <typename Sample>
void BlockProcessor::PassThrough(Sample** inputs, Sample** outputs, int frames) const
{
    for (int c = 0; outputs && c < outputCount && frames > 0; ++c)
    {
        Sample* out = outputs[c];
        if (!out)
            continue;
        const Sample* in = inputs && c < inputCount ? inputs[c] : nullptr;
        for (int i = 0; i < frames; ++i)
        {
            out[i] = in ? in[i] : Sample(0);
        }
    }
}

template void BlockProcessor::PassThrough(float** inputs, float** outputs, int frames) const;
template void BlockProcessor::PassThrough(double** inputs, double** outputs, int frames) const;
} // namespace tpm
