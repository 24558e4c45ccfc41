// vsthost compare: the largest sample difference between two raw float32 renders, read in blocks.
#include "tools/hostkit/AudioReader.h"
#include "tools/vsthost/Commands.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace tpm
{
namespace
{
// Samples that are the same value, also the same NaN or infinity, differ by nothing; a NaN against
// anything else differs without bound.
double Difference(float a, float b)
{
    if (a == b || (std::isnan(a) && std::isnan(b)))
        return 0.0;
    const double d = std::fabs(static_cast<double>(a) - b);
    return std::isnan(d) ? INFINITY : d;
}
} // namespace

int RunCompare(const std::string& a, const std::string& b, double tolerance)
{
    std::string error;
    auto first = OpenAudioReader(a, 1, 0.0, error);
    auto second = first ? OpenAudioReader(b, 1, 0.0, error) : nullptr;
    if (!second)
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    if (first->Channels() != second->Channels())
    {
        std::fprintf(stderr, "vsthost: '%s' has %d channels, '%s' %d\n", a.c_str(), first->Channels(),
                     b.c_str(), second->Channels());
        return 1;
    }
    const long long firstSamples = first->Frames() * first->Channels();
    const long long secondSamples = second->Frames() * second->Channels();
    if (firstSamples != secondSamples)
    {
        std::fprintf(stderr, "vsthost: lengths differ: '%s' has %lld samples, '%s' %lld\n", a.c_str(),
                     firstSamples, b.c_str(), secondSamples);
        return 1;
    }
    constexpr long long kBlock = 65536;
    std::vector<float> x(kBlock * first->Channels()), y(kBlock * second->Channels());
    double largest = 0.0;
    long long nonFinite = 0;
    for (long long done = 0; done < firstSamples;)
    {
        const long long n = first->Read(x.data(), kBlock, error) * first->Channels();
        const long long m = second->Read(y.data(), kBlock, error) * second->Channels();
        if (n <= 0 || n != m)
        {
            std::fprintf(stderr, "vsthost: %s\n",
                         error.empty() ? "the files changed while being read" : error.c_str());
            return 1;
        }
        for (long long i = 0; i < n; ++i)
        {
            const auto at = static_cast<std::size_t>(i);
            largest = std::fmax(largest, Difference(x[at], y[at]));
            nonFinite += std::isfinite(x[at]) && std::isfinite(y[at]) ? 0 : 1;
        }
        done += n;
    }
    std::printf("%lld samples, largest difference %.3g", firstSamples, largest);
    if (nonFinite > 0)
        std::printf(" (%lld positions hold NaN or infinity)", nonFinite);
    std::printf("\n");
    return largest <= tolerance ? 0 : 1;
}
} // namespace tpm
