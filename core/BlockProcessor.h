// The host's buffers on the plug-in's side: a process call in either precision becomes render calls
// on double-precision channel arrays of at most a block each, converting through one scratch buffer
// of block-size samples per channel.
//
// Threads: the process calls and PassThrough run on the audio thread, which holds the processor for
// the block; they take no lock, allocate nothing and never wait. SetBlockSize runs on the host's
// other threads: it allocates outside any lock and exchanges the buffers holding both the plug-in
// lock and the processor, so no block sees them change.
#pragma once

#include "core/PluginLock.h"
#include "core/ProcessorOwnership.h"
#include "core/SampleCopy.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace tpm
{
class BlockProcessor
{
  public:
    // What renders each piece: input and output channel arrays of `frames` samples.
    class IRenderer
    {
      public:
        virtual void ProcessBlock(double** inputs, double** outputs, int nFrames) = 0;

      protected:
        ~IRenderer() = default;
    };

    BlockProcessor(int inputs, int outputs);
    ~BlockProcessor();
    BlockProcessor(const BlockProcessor&) = delete;
    BlockProcessor& operator=(const BlockProcessor&) = delete;

    int Inputs() const { return inputCount; }
    int Outputs() const { return outputCount; }
    // The length of the scratch buffers: the most frames rendered at a time. Any thread may ask.
    int BlockSize() const { return blockSize.load(std::memory_order_relaxed); }
    // A size of 0 or less, or one the machine cannot hold, keeps the previous one.
    void SetBlockSize(int frames, PluginLock& lock, ProcessorOwnership& processor);

    void ProcessFloat(float** inputs, float** outputs, int frames, IRenderer& renderer);
    // The host's buffers go to the renderer as they are; only missing ones use scratch buffers.
    void ProcessDouble(double** inputs, double** outputs, int frames, IRenderer& renderer);
    // For a block that finds the processor taken: the input goes out as it came.
    template <typename Sample> void PassThrough(Sample** inputs, Sample** outputs, int frames) const;

  private:
    // One input or output channel: the slot it fills in the pointer array handed to the renderer,
    // and its own scratch buffer of block-size samples.
    struct Channel
    {
        double** slot = nullptr;
        float* hostBuffer = nullptr;
        std::vector<double> scratch;
    };

    void ProcessFloatPiece(float** inputs, float** outputs, int offset, int frames, IRenderer& renderer);
    static double** ArrayOrNull(std::vector<double*>& pointers)
    {
        return pointers.empty() ? nullptr : pointers.data();
    }
    // The host's buffer for a channel at an offset; null when the host passed none.
    template <typename Sample> static Sample* HostBuffer(Sample** buffers, int index, int offset)
    {
        return buffers && buffers[index] ? buffers[index] + offset : nullptr;
    }

    int32_t inputCount = 0;
    int32_t outputCount = 0;
    std::vector<double*> inputPointers;
    std::vector<double*> outputPointers;
    std::vector<std::unique_ptr<Channel>> inputChannels;
    std::vector<std::unique_ptr<Channel>> outputChannels;
    std::atomic<int32_t> blockSize{0};
};

// Defined here and always inlined, so that a block pays no extra call for them: they run for every
// block, and the render benchmark bounds that cost tightly.
[[gnu::always_inline]] inline void BlockProcessor::ProcessFloat(float** inputs, float** outputs, int frames,
                                                                IRenderer& renderer)
{
    if (frames <= 0)
    {
        renderer.ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
        return;
    }
    // More frames than the scratch buffers hold are processed in pieces of at most a block.
    const int piece = BlockSize();
    for (int offset = 0; offset < frames; offset += piece)
        ProcessFloatPiece(inputs, outputs, offset, std::min(piece, frames - offset), renderer);
}

inline void BlockProcessor::ProcessFloatPiece(float** inputs, float** outputs, int offset, int frames,
                                              IRenderer& renderer)
{
    int hostIndex = 0;
    for (auto& channel : inputChannels)
    {
        const float* from = HostBuffer(inputs, hostIndex++, offset);
        if (from)
            SampleCopy::Convert(from, channel->scratch.data(), static_cast<std::size_t>(frames));
        else
            std::fill_n(channel->scratch.begin(), frames, 0.0);
        *channel->slot = channel->scratch.data();
    }
    hostIndex = 0;
    for (auto& channel : outputChannels)
    {
        *channel->slot = channel->scratch.data();
        channel->hostBuffer = HostBuffer(outputs, hostIndex++, offset);
    }
    renderer.ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
    for (auto& channel : outputChannels)
    {
        if (!channel->hostBuffer)
            continue;
        SampleCopy::Convert(channel->scratch.data(), channel->hostBuffer, static_cast<std::size_t>(frames));
    }
}

[[gnu::always_inline]] inline void BlockProcessor::ProcessDouble(double** inputs, double** outputs,
                                                                 int frames, IRenderer& renderer)
{
    // Only missing buffers use scratch buffers, which is why longer calls are still cut into pieces
    // of at most a block.
    int offset = 0;
    do
    {
        const int piece = frames <= 0 ? frames : std::min(BlockSize(), frames - offset);
        int hostIndex = 0;
        for (auto& channel : inputChannels)
        {
            *channel->slot = HostBuffer(inputs, hostIndex++, offset);
            if (!*channel->slot) // a missing buffer reads as silence
            {
                std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
                *channel->slot = channel->scratch.data();
            }
        }
        hostIndex = 0;
        for (auto& channel : outputChannels)
        {
            *channel->slot = HostBuffer(outputs, hostIndex++, offset);
            if (!*channel->slot) // a missing buffer is written nowhere that matters
                *channel->slot = channel->scratch.data();
        }
        renderer.ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), piece);
        offset += std::max(piece, 1);
    } while (offset < frames);
}
} // namespace tpm
