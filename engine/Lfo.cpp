#include "engine/Lfo.h"

#include <algorithm>
#include <cmath>

namespace
{
bool UsableIncrement(double inc)
{
    return std::isfinite(inc) && inc >= 0.0;
}
} // namespace

void Lfo::Restart()
{
    double waveOffset = 0.0;
    switch (static_cast<LfoWave>(wave))
    {
    case LfoWave::kTriangle:
    case LfoWave::kSaw:
    case LfoWave::kSquare:
    case LfoWave::kHalfFlip:
        waveOffset = Waveforms::kHalfPi;
        break;
    case LfoWave::kSineHalf:
        waveOffset = Waveforms::kThreeHalfPi;
        break;
    default:
        break;
    }
    phase = Waveforms::WrapPhase(static_cast<double>(start * 2.0f) * Waveforms::kPi + waveOffset);
}

void Lfo::SetupDepth(float lo, float hi, float centre, bool fourthPower)
{
    const float span = hi - lo;
    if (fourthPower)
    {
        const float d2 = depth * depth;
        scale = span * (d2 * d2) * 0.5f;
    }
    else
    {
        scale = span * depth * 0.5f;
    }
    offset = std::max(std::min(centre, hi - scale), lo + scale);
    graph.rangeLo = lo;
    graph.rangeHi = hi;
}

void Lfo::SetFreeRate(double periodMs, double sampleRate)
{
    const double next = (1.0 / periodMs) / sampleRate * kTwoPiMsPerSecond;
    if (UsableIncrement(next))
        inc = next;
}

void Lfo::SetSyncedRate(int division, double samplesPerWholeNote)
{
    const double next =
        (1.0 / static_cast<double>(DivisionLength(division))) / samplesPerWholeNote * Waveforms::kTwoPi;
    if (UsableIncrement(next))
        inc = next;
}

float Lfo::DivisionLength(int division)
{
    const int i = std::clamp(division, 0, kDivisionCount - 1);
    switch (i % 3)
    {
    case 0:
        return static_cast<float>(std::ldexp(1.0, i / 3) * 0.03125);
    case 1:
        return static_cast<float>(std::ldexp(1.0, (i + 2) / 3) * 0.020833333333333332);
    default:
        return static_cast<float>(std::ldexp(1.0, (i - 2) / 3) * 0.046875);
    }
}

int Lfo::NearestSyncDivision(double increment, double samplesPerWholeNote)
{
    double previous = 0.0;
    for (int i = 0; i < kDivisionCount; ++i)
    {
        const double d =
            (1.0 / static_cast<double>(DivisionLength(i))) * (1.0 / samplesPerWholeNote) * Waveforms::kTwoPi;
        if (d <= increment)
            return d + previous >= 2.0 * increment ? i : i - 1;
        previous = d;
    }
    return kDivisionCount;
}
