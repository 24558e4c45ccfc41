// Interleaved stereo frames passed from one writer thread to one reader thread without a lock:
// allocated once, and neither side ever waits for the other. The input file's reader thread
// writes; the audio callback reads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <vector>

namespace tpm
{
class SampleRing
{
  public:
    // Room for at least `frames` frames (rounded up to a power of two).
    explicit SampleRing(std::size_t frames);

    // Writer: how many frames fit now, and writes up to that many.
    std::size_t FreeFrames() const;
    void Write(const float* stereo, std::size_t frames);

    // Reader: up to `frames` frames into two planar buffers; answers how many there were.
    template <typename Sample> std::size_t ReadPlanar(Sample* left, Sample* right, std::size_t frames)
    {
        const std::size_t head = written.load(std::memory_order_acquire);
        const std::size_t tail = read.load(std::memory_order_relaxed);
        const std::size_t count = std::min(frames, head - tail);
        for (std::size_t i = 0; i < count; ++i)
        {
            const std::size_t at = 2 * ((tail + i) & mask);
            left[i] = static_cast<Sample>(samples[at]);
            right[i] = static_cast<Sample>(samples[at + 1]);
        }
        read.store(tail + count, std::memory_order_release);
        return count;
    }

  private:
    std::vector<float> samples;
    std::size_t mask = 0;
    // Frames written and read since the start; they only grow, and wrap together harmlessly.
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> read{0};
};
} // namespace tpm
