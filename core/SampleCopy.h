// Copies between sample buffers of either precision, planar or interleaved, in runs of eight so
// that the compiler turns each run into a few vector conversions at the usual optimisation level
// (a plain loop of unknown length stays scalar there). The process callbacks and the host tool
// move every sample through these.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace tpm
{
class SampleCopy
{
  public:
    static constexpr std::size_t kRun = 8;

    // to[i] = from[i], converted to the destination's precision.
    template <typename From, typename To> static void Convert(const From* from, To* to, std::size_t n)
    {
        std::size_t i = 0;
        for (; i + kRun <= n; i += kRun)
            for (std::size_t k = 0; k < kRun; ++k)
                to[i + k] = static_cast<To>(from[i + k]);
        for (; i < n; ++i)
            to[i] = static_cast<To>(from[i]);
    }

    // to[i] += from[i], summed in the destination's precision.
    template <typename From, typename To> static void Accumulate(const From* from, To* to, std::size_t n)
    {
        std::size_t i = 0;
        for (; i + kRun <= n; i += kRun)
            for (std::size_t k = 0; k < kRun; ++k)
                to[i + k] += static_cast<To>(from[i + k]);
        for (; i < n; ++i)
            to[i] += static_cast<To>(from[i]);
    }

    // Two planes into one stereo stream: to[2i] = left[i], to[2i + 1] = right[i].
    template <typename From, typename To>
    static void InterleavePair(const From* left, const From* right, To* to, std::size_t n)
    {
        std::size_t i = 0;
        if constexpr (std::is_same_v<From, To>)
        {
            // Without a conversion the compiler vectorises the shuffle only in a local run: straight
            // into `to`, which might overlap the planes as far as it knows, it stays scalar.
            for (; i + kRun <= n; i += kRun)
            {
                To run[2 * kRun];
                for (std::size_t k = 0; k < kRun; ++k)
                {
                    run[2 * k] = left[i + k];
                    run[2 * k + 1] = right[i + k];
                }
                std::memcpy(to + 2 * i, run, sizeof run);
            }
        }
        else
        {
            for (; i + kRun <= n; i += kRun)
                for (std::size_t k = 0; k < kRun; ++k)
                {
                    to[2 * (i + k)] = static_cast<To>(left[i + k]);
                    to[2 * (i + k) + 1] = static_cast<To>(right[i + k]);
                }
        }
        for (; i < n; ++i)
        {
            to[2 * i] = static_cast<To>(left[i]);
            to[2 * i + 1] = static_cast<To>(right[i]);
        }
    }

    // Channel `channel` of a stream of `stride` channels into a plane.
    template <typename From, typename To>
    static void Extract(const From* from, std::size_t stride, std::size_t channel, To* to, std::size_t n)
    {
        if (stride == 1)
        {
            Convert(from, to, n);
            return;
        }
        for (std::size_t i = 0; i < n; ++i)
            to[i] = static_cast<To>(from[i * stride + channel]);
    }
};
} // namespace tpm
