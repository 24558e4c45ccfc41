#include "engine/Waveforms.h"

namespace tpm
{
double Waveforms::ReducePhase(double phase)
{
    if (!std::isfinite(phase))
        return 0.0;
    double r = std::fmod(phase, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    // A tiny negative remainder plus 2π can round up to 2π itself.
    return r < kTwoPi ? r : 0.0;
}

bool Waveforms::GoldenCoefficients(int wave, float g, double split, Golden& out)
{
    // The quotients of g are formed in single precision; products with π and 1/π in double.
    switch (wave)
    {
    case 4:
        out.a1 = 0.5f / g;
        out.a2 = 0.5f / (1.0f - g);
        out.c2 = static_cast<double>(1.0f - 2.0f * g) * kPi / static_cast<double>(1.0f - g);
        return true;
    case 5:
        out.a1 = 0.25f / g;
        out.a2 = 0.25f / (1.0f - g);
        out.c2 = 0.5 * static_cast<double>(1.0f - 2.0f * g) * kPi / static_cast<double>(1.0f - g);
        return true;
    case 6:
        out.a1 = 2.0 / split;
        out.a2 = (1.0f + g) / (1.0f - g);
        out.c2 = static_cast<double>(1.0f / (1.0f - g)) * kOneOverPi;
        return true;
    default:
        return false;
    }
}

double Waveforms::ToneValue(int wave, double phi, double split, const Golden& c)
{
    switch (wave)
    {
    case 0:
        return Tone<0>(phi, split, c);
    case 1:
        return Tone<1>(phi, split, c);
    case 2:
        return Tone<2>(phi, split, c);
    case 3:
        return Tone<3>(phi, split, c);
    case 4:
        return Tone<4>(phi, split, c);
    case 5:
        return Tone<5>(phi, split, c);
    case 6:
        return Tone<6>(phi, split, c);
    default:
        return Tone<7>(phi, split, c);
    }
}
} // namespace tpm
