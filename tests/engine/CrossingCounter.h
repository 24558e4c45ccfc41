// Measures a tone's frequency from its rising zero crossings, located to a fraction of a sample
// by linear interpolation; fed block by block.
#pragma once

#include <cstddef>

namespace tpm
{
class CrossingCounter
{
  public:
    template <typename Sample> void Feed(const Sample* block, std::size_t n, double firstSample)
    {
        for (std::size_t i = 0; i < n; ++i)
        {
            const double x = static_cast<double>(block[i]);
            if (havePrevious && previous < 0.0 && x >= 0.0)
            {
                const double t = firstSample + static_cast<double>(i) - 1.0 + previous / (previous - x);
                if (count == 0)
                    first = t;
                last = t;
                ++count;
            }
            previous = x;
            havePrevious = true;
        }
    }
    double Frequency(double rate) const { return static_cast<double>(count - 1) / (last - first) * rate; }
    long long Count() const { return count; }

  private:
    double previous = 0.0;
    bool havePrevious = false;
    long long count = 0;
    double first = 0.0;
    double last = 0.0;
};
} // namespace tpm
