#include "tools/player/SampleRing.h"

#include <algorithm>

namespace tpm
{
SampleRing::SampleRing(std::size_t frames)
{
    std::size_t capacity = 1;
    while (capacity < frames)
        capacity *= 2;
    samples.assign(2 * capacity, 0.0f);
    mask = capacity - 1;
}

std::size_t SampleRing::FreeFrames() const
{
    return mask + 1 - (written.load(std::memory_order_relaxed) - read.load(std::memory_order_acquire));
}

void SampleRing::Write(const float* stereo, std::size_t frames)
{
    const std::size_t head = written.load(std::memory_order_relaxed);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const std::size_t at = 2 * ((head + i) & mask);
        samples[at] = stereo[2 * i];
        samples[at + 1] = stereo[2 * i + 1];
    }
    written.store(head + frames, std::memory_order_release);
}
} // namespace tpm
