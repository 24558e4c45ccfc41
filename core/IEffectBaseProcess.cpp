// The process callbacks: host buffers in either precision become one ProcessBlock call on
// double-precision channel arrays, converting through the per-channel scratch buffers. They run on
// the audio thread, take no lock and never wait.
#include "core/IEffectBase.h"
#include "core/SampleCopy.h"

#include <algorithm>

namespace
{
double** ArrayOrNull(std::vector<double*>& pointers)
{
    return pointers.empty() ? nullptr : pointers.data();
}

// The host's buffer for a channel at an offset; null when the host passed none.
template <typename Sample> Sample* HostBuffer(Sample** buffers, int index, int offset)
{
    return buffers && buffers[index] ? buffers[index] + offset : nullptr;
}
} // namespace

// An audio block's hold on the processor: taken without waiting, with the queued changes applied
// first; at the end the block's own messages go to the host.
class IEffectBase::AudioBlockScope
{
  public:
    AudioBlockScope(IEffectBase& p, int frames) : plug(p), held(p.processor.TryTakeForAudio())
    {
        if (!held)
            return;
        // Read by other threads that wonder whether blocks still come; the steady clock is a cheap read.
        plug.lastBlockFrames.store(frames, std::memory_order_relaxed);
        plug.lastBlockStart.store(SteadyNanoseconds(), std::memory_order_release);
        // Blocks are coming, whatever the host said: from now on changes wait for them rather than
        // take the processor from under them.
        if (!plug.audioRunning.load(std::memory_order_relaxed))
            plug.audioRunning.store(true);
        plug.ApplyQueuedChanges();
    }
    ~AudioBlockScope()
    {
        if (!held)
            return;
        plug.messenger.SendBlockMessages();
        plug.processor.Release();
    }
    AudioBlockScope(const AudioBlockScope&) = delete;
    AudioBlockScope& operator=(const AudioBlockScope&) = delete;
    bool Held() const { return held; }

  private:
    IEffectBase& plug;
    bool held;
};

template <typename Sample> void IEffectBase::PassThrough(Sample** inputs, Sample** outputs, int frames)
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

void IEffectBase::ProcessReplacing(float** inputs, float** outputs, int frames)
{
    AudioBlockScope block(*this, frames);
    if (!block.Held())
    {
        PassThrough(inputs, outputs, frames);
        return;
    }
    if (frames <= 0)
    {
        ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
        return;
    }
    // More frames than the scratch buffers hold are processed in pieces of at most a block.
    const int piece = BlockSize();
    for (int offset = 0; offset < frames; offset += piece)
        ProcessFloatPiece(inputs, outputs, offset, std::min(piece, frames - offset));
}

void IEffectBase::ProcessFloatPiece(float** inputs, float** outputs, int offset, int frames)
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
    ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
    for (auto& channel : outputChannels)
    {
        if (!channel->hostBuffer)
            continue;
        SampleCopy::Convert(channel->scratch.data(), channel->hostBuffer, static_cast<std::size_t>(frames));
    }
}

void IEffectBase::ProcessDoubleReplacing(double** inputs, double** outputs, int frames)
{
    AudioBlockScope block(*this, frames);
    if (!block.Held())
    {
        PassThrough(inputs, outputs, frames);
        return;
    }
    // The host's buffers go straight to the engine; only missing ones use scratch buffers, which is
    // why longer calls are still cut into pieces of at most a block.
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
        ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), piece);
        offset += std::max(piece, 1);
    } while (offset < frames);
}
