// An input file made ready for the device: stereo, at the device's rate, played round and round.
// Loading and resampling happen before playback; Read is what the audio thread calls.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class LoopedInput
{
  public:
    // Reads the file; a headerless raw file is taken to be stereo at the device's rate.
    static std::unique_ptr<LoopedInput> Load(const std::string& path, std::string& error);
    // Converts the audio to the device's rate (libsoxr) once the device is known.
    bool PrepareFor(double deviceRate, std::string& error);

    // The next `frames` frames into two planar buffers, from the start again at the end.
    template <typename Sample> void Read(Sample* left, Sample* right, int frames)
    {
        for (int i = 0; i < frames; ++i)
        {
            left[i] = static_cast<Sample>(stereo[cursor]);
            right[i] = static_cast<Sample>(stereo[cursor + 1]);
            cursor += 2;
            if (cursor >= stereo.size())
                cursor = 0;
        }
    }
    long long Frames() const { return static_cast<long long>(stereo.size() / 2); }

  private:
    LoopedInput() = default;
    std::vector<float> stereo; // interleaved
    double rate = 0.0;         // 0: the device's, whatever it is
    std::size_t cursor = 0;
};
