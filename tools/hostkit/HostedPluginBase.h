// What the hosted plug-ins of every format share below the HostedInstance interface: the transport's
// position, which moves on between blocks only while it plays, and the block helpers around a process
// call (silencing outputs the plug-in did not fill, finding inputs that hold only zeros).
#pragma once

#include "tools/hostkit/HostedInstance.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace tpm
{
class HostedPluginBase : public HostedInstance
{
  public:
    void Open() override {}
    std::string CurrentProgramName() override { return ProgramName(CurrentProgram()); }
    void Advance(int frames) override;

  protected:
    HostedPluginBase() = default;

    TransportPosition PositionAtRate(double sampleRate) const
    {
        return PositionAt(settings, samplePosition, sampleRate);
    }

    template <typename Sample> static void Silence(Sample** outputs, int channels, int frames)
    {
        for (int c = 0; c < channels && frames > 0; ++c)
            std::fill_n(outputs[c], frames, Sample{});
    }

    // True when every sample is zero. Silent inputs, the common case, are read to their end: compared
    // bytewise first, which is several times cheaper a sample, and only where that finds other bytes
    // (a -0.0 is silent too) sample by sample.
    template <typename Sample> static bool IsSilent(const Sample* samples, int frames)
    {
        static constexpr std::array<unsigned char, 1024> kZeros{};
        const auto* bytes = reinterpret_cast<const unsigned char*>(samples);
        std::size_t left = static_cast<std::size_t>(std::max(frames, 0)) * sizeof(Sample);
        for (; left > 0; bytes += std::min(left, kZeros.size()), left -= std::min(left, kZeros.size()))
            if (std::memcmp(bytes, kZeros.data(), std::min(left, kZeros.size())) != 0)
                return std::all_of(samples, samples + frames, [](Sample s) { return s == Sample{}; });
        return true;
    }

    // Where the transport stands, in samples from its start.
    double samplePosition = 0.0;
};
} // namespace tpm
