// vsthost compare: the largest sample difference between two raw float32 renders.
#include "tools/hostkit/AudioFile.h"
#include "tools/vsthost/Commands.h"

#include <cmath>
#include <cstdio>

int RunCompare(const std::string& a, const std::string& b, double tolerance)
{
    AudioData first, second;
    std::string error;
    if (!ReadAudioFile(a, 1, 0.0, first, error) || !ReadAudioFile(b, 1, 0.0, second, error))
    {
        std::fprintf(stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    if (first.samples.size() != second.samples.size())
    {
        std::fprintf(stderr, "vsthost: lengths differ: %zu and %zu samples\n", first.samples.size(),
                     second.samples.size());
        return 1;
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < first.samples.size(); ++i)
    {
        const double d = std::fabs(static_cast<double>(first.samples[i]) - second.samples[i]);
        if (!(d <= largest))
            largest = std::isnan(d) ? INFINITY : d;
    }
    std::printf("%zu samples, largest difference %.3g\n", first.samples.size(), largest);
    return largest <= tolerance ? 0 : 1;
}
