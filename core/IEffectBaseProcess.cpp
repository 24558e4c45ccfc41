// The process callbacks: host buffers in either precision become one ProcessBlock call on
// double-precision channel arrays, converting through the per-channel scratch buffers.
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

void IEffectBase::ProcessReplacing(float** inputs, float** outputs, int frames, bool accumulate)
{
    IAudioLockGuard guard(lock);
    if (midiMode != 0 && host)
        host->WantMidi();
    if (frames <= 0)
    {
        ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
        return;
    }
    // More frames than the scratch buffers hold are processed in pieces of at most a block.
    for (int offset = 0; offset < frames; offset += blockSize)
        ProcessFloatPiece(inputs, outputs, offset, std::min(blockSize, frames - offset), accumulate);
}

void IEffectBase::ProcessFloatPiece(float** inputs, float** outputs, int offset, int frames, bool accumulate)
{
    int hostIndex = 0;
    for (auto& channel : inputChannels)
    {
        if (!channel->connected)
            continue;
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
        if (!channel->connected)
            continue;
        *channel->slot = channel->scratch.data();
        channel->hostBuffer = HostBuffer(outputs, hostIndex++, offset);
    }
    ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), frames);
    for (auto& channel : outputChannels)
    {
        if (!channel->connected || !channel->hostBuffer)
            continue;
        const auto n = static_cast<std::size_t>(frames);
        if (accumulate)
            SampleCopy::Accumulate(channel->scratch.data(), channel->hostBuffer, n);
        else
            SampleCopy::Convert(channel->scratch.data(), channel->hostBuffer, n);
    }
}

void IEffectBase::ProcessDoubleReplacing(double** inputs, double** outputs, int frames)
{
    IAudioLockGuard guard(lock);
    if (midiMode != 0 && host)
        host->WantMidi();
    // The host's buffers go straight to the engine; only unwired channels use scratch buffers,
    // which is why longer calls are still cut into pieces of at most a block.
    int offset = 0;
    do
    {
        const int piece = frames <= 0 ? frames : std::min(blockSize, frames - offset);
        int hostIndex = 0;
        for (auto& channel : inputChannels)
            if (channel->connected)
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
            if (channel->connected)
            {
                *channel->slot = HostBuffer(outputs, hostIndex++, offset);
                if (!*channel->slot) // a missing buffer is written nowhere that matters
                    *channel->slot = channel->scratch.data();
            }
        ProcessBlock(ArrayOrNull(inputPointers), ArrayOrNull(outputPointers), piece);
        offset += std::max(piece, 1);
    } while (offset < frames);
}
