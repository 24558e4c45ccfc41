// An input file made ready for the device: stereo, at the device's rate, played round and round.
// A reader thread decodes and resamples it into a ring a second long; the audio thread only takes
// frames from the ring, and plays silence (counted) when the reader falls behind. Memory stays the
// same whatever the file's length, and the first sound comes as soon as the ring's first second
// has been read.
#pragma once

#include "tools/player/LoopingSource.h"
#include "tools/player/SampleRing.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace tpm
{
class LoopedInput
{
  public:
    // Opens the file, so that a problem with it shows before anything plays.
    static std::unique_ptr<LoopedInput> Open(const std::string& path, std::string& error);
    ~LoopedInput();
    LoopedInput(const LoopedInput&) = delete;
    LoopedInput& operator=(const LoopedInput&) = delete;

    // Converts to the device's rate (libsoxr) where they differ, fills the ring and starts the reader.
    bool Start(double deviceRate, std::string& error);
    // Ends the reader thread; then Failure says why it stopped early, if it did.
    void Stop();
    const std::string& Failure() const { return failure; }

    // Audio thread: the next `frames` frames into two planar buffers.
    template <typename Sample> void Read(Sample* left, Sample* right, int frames)
    {
        const auto wanted = static_cast<std::size_t>(frames);
        const std::size_t got = ring->ReadPlanar(left, right, wanted);
        if (got == wanted)
            return;
        std::fill(left + got, left + wanted, Sample{});
        std::fill(right + got, right + wanted, Sample{});
        underruns.fetch_add(1, std::memory_order_relaxed);
    }
    // Audio buffers that found the ring short of frames.
    long long Underruns() const { return underruns.load(std::memory_order_relaxed); }

  private:
    LoopedInput() = default;
    // Tops the ring up; false (with `failure`) when reading failed.
    bool Fill();
    void ReadAhead();

    std::unique_ptr<LoopingSource> source; // until Start puts it into `stream`
    std::unique_ptr<AudioReader> stream;   // the source at the device's rate
    std::unique_ptr<SampleRing> ring;
    std::vector<float> block;
    std::thread reader;
    std::atomic<bool> quit{false};
    std::atomic<long long> underruns{0};
    std::string failure;
};
} // namespace tpm
