#include "engine/Lfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tpm
{
namespace
{
bool UsableIncrement(double inc)
{
    return std::isfinite(inc) && inc >= 0.0;
}

// Increments in [0, 2π) (all but extreme rates at low sample rates) wrap with one subtraction.
template <int Wave, bool SmallIncrement> void RunWave(Lfo& l, double* out, int n)
{
    double phase = l.phase;
    double square = l.squareState;
    const double inc = l.inc;
    const double scale = l.scale;
    const double offset = l.offset;
    int i = 0;
    if constexpr (Waveforms::LfoHasPair(Wave))
        for (; i + 2 <= n; i += 2)
        {
            const double first = phase;
            phase = SmallIncrement ? Waveforms::WrapOnce(phase + inc) : Waveforms::WrapPhase(phase + inc);
            const double second = phase;
            phase = SmallIncrement ? Waveforms::WrapOnce(phase + inc) : Waveforms::WrapPhase(phase + inc);
            const Waveforms::Pair y =
                scale * Waveforms::LfoPair<Wave>(Waveforms::Pair{first, second}) + offset;
            std::memcpy(out + i, &y, sizeof y);
        }
    for (; i < n; ++i)
    {
        const double x = Waveforms::Lfo<Wave>(phase, square, Lfo::kSquareSmoothIn, Lfo::kSquareSmoothKeep);
        phase = SmallIncrement ? Waveforms::WrapOnce(phase + inc) : Waveforms::WrapPhase(phase + inc);
        out[i] = scale * x + offset;
    }
    l.phase = phase;
    l.squareState = square;
}
template <int Wave> void RunWave(Lfo& l, double* out, int n)
{
    if (l.inc >= 0.0 && l.inc < Waveforms::kTwoPi && l.phase >= 0.0 && l.phase < Waveforms::kTwoPi)
        RunWave<Wave, true>(l, out, n);
    else
        RunWave<Wave, false>(l, out, n);
}
} // namespace

void Lfo::Run(double* out, int n)
{
    switch (wave)
    {
    case 1:
        RunWave<1>(*this, out, n);
        break;
    case 2:
        RunWave<2>(*this, out, n);
        break;
    case 3:
        RunWave<3>(*this, out, n);
        break;
    case 4:
        RunWave<4>(*this, out, n);
        break;
    case 5:
        RunWave<5>(*this, out, n);
        break;
    case 6:
        RunWave<6>(*this, out, n);
        break;
    default:
        RunWave<0>(*this, out, n);
        break;
    }
    if (n > 0)
        graph.position = static_cast<float>(out[n - 1]);
}

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
} // namespace tpm
