// The wave shapes of the two tones and of the LFOs, and the phase wrap they share. Header-inline
// because the per-sample loop calls them for every frame.
#pragma once

#include "engine/PolySine.h"

#include <cmath>

class Waveforms
{
  public:
    static constexpr double kPi = 3.141592653589793;
    static constexpr double kTwoPi = 6.283185307179586;
    static constexpr double kHalfPi = 1.5707963267948966;
    static constexpr double kThreeHalfPi = 4.71238898038469;
    static constexpr double kTwoOverPi = 0.6366197723675814;
    static constexpr double kOneOverPi = 0.3183098861837907;
    static constexpr int kToneWaveCount = 8;
    static constexpr int kLfoWaveCount = 7;

    // Coefficients of the golden waves (4 to 6); the other waves leave them as they are.
    struct Golden
    {
        double a1 = 0.0;
        double a2 = 0.0;
        double c2 = 0.0;
    };

    // Brings a phase back into [0, 2π). The usual case is one subtraction, which keeps the
    // accumulated phase bit-exact; increments of 2π or more (high tones at low sample rates,
    // LFO sweeps) need the full reduction, and a non-finite phase restarts at 0.
    static double WrapPhase(double phase)
    {
        if (phase >= kTwoPi)
            phase -= kTwoPi;
        if (phase >= 0.0 && phase < kTwoPi)
            return phase;
        return ReducePhase(phase);
    }
    static double ReducePhase(double phase);
    // The wrap for a phase and an increment both known to be in [0, 2π).
    static double WrapOnce(double phase) { return phase >= kTwoPi ? phase - kTwoPi : phase; }

    // Golden coefficients for a tone wave, from the golden fraction g and split s = 2πg.
    // Returns false (and leaves `out` alone) for waves that do not use them.
    static bool GoldenCoefficients(int wave, float g, double split, Golden& out);

    // Tone wave value at phase phi in [0, 2π); `Wave` 7 stands for 7 and above.
    template <int Wave> static double Tone(double phi, double split, const Golden& c)
    {
        if constexpr (Wave == 0)
            return PolySine::SinOfPhase(phi);
        else if constexpr (Wave == 1)
            return phi < kPi ? phi * kTwoOverPi - 1.0 : 3.0 - phi * kTwoOverPi;
        else if constexpr (Wave == 2)
            return 1.0 - phi * kOneOverPi;
        else if constexpr (Wave == 3)
            return phi < kPi ? 1.0 : -1.0;
        else if constexpr (Wave == 4)
            return PolySine::CosOfPhase(GoldenArgument(phi, split, c));
        else if constexpr (Wave == 5)
            return 2.0 * PolySine::SinOfPhase(GoldenArgument(phi, split, c)) - 1.0;
        else if constexpr (Wave == 6)
            return phi < split ? phi * c.a1 - 1.0 : c.a2 - phi * c.c2;
        else
            return phi < split ? 1.0 : -1.0;
    }
    // Tone<Wave> at two phases (a frame's two oscillators); the sine waves share one pass.
    template <int Wave>
    static void TonePair(double phi1, double phi2, double split, const Golden& c, double& y1, double& y2)
    {
        if constexpr (Wave == 0)
            PolySine::SinOfPhases(phi1, phi2, y1, y2);
        else if constexpr (Wave == 4)
            PolySine::CosOfPhases(GoldenArgument(phi1, split, c), GoldenArgument(phi2, split, c), y1, y2);
        else if constexpr (Wave == 5)
        {
            PolySine::SinOfPhases(GoldenArgument(phi1, split, c), GoldenArgument(phi2, split, c), y1, y2);
            y1 = 2.0 * y1 - 1.0;
            y2 = 2.0 * y2 - 1.0;
        }
        else
        {
            y1 = Tone<Wave>(phi1, split, c);
            y2 = Tone<Wave>(phi2, split, c);
        }
    }
    // φ × A1 before the split, φ × A2 + C2 after it: selects rather than branches, so that one
    // sine serves both halves. Adding 0.0 to φ × A1 (never −0 here) leaves it unchanged.
    static double GoldenArgument(double phi, double split, const Golden& c)
    {
        const bool first = phi < split;
        return phi * (first ? c.a1 : c.a2) + (first ? 0.0 : c.c2);
    }
    // Run-time dispatch of Tone, for callers outside the per-sample loop.
    static double ToneValue(int wave, double phi, double split, const Golden& c);

    // LFO wave value at phase phi; the square is one-pole smoothed through `squareState`.
    template <int Wave> static double Lfo(double phi, double& squareState, double smoothIn, double smoothKeep)
    {
        if constexpr (Wave == 1)
            return phi < kPi ? phi * kTwoOverPi - 1.0 : 3.0 - phi * kTwoOverPi;
        else if constexpr (Wave == 2)
            return phi < kHalfPi ? phi * 1.2732395447351628 - 1.0
                                 : 1.6666666666666667 - phi * 0.4244131815783876;
        else if constexpr (Wave == 3)
            return phi < kThreeHalfPi ? phi * 0.4244131815783876 - 1.0 : 7.0 - phi * 1.2732395447351628;
        else if constexpr (Wave == 4)
        {
            const double s = phi < kPi ? 1.0 : -1.0;
            squareState = smoothIn * s + smoothKeep * squareState;
            return squareState;
        }
        else if constexpr (Wave == 5)
            return 2.0 * PolySine::SinOfPhase(phi / 2.0) - 1.0;
        else if constexpr (Wave == 6)
            return 2.0 * PolySine::SinOfPhase(phi / 2.0 + kPi) + 1.0;
        else
            return PolySine::SinOfPhase(phi);
    }
    // The sine-based LFO waves (0, 5 and 6) at two phases, sharing one pass of the sine.
    static constexpr bool LfoHasPair(int wave) { return wave == 0 || wave == 5 || wave == 6; }
    template <int Wave> static void LfoPair(double phi0, double phi1, double& y0, double& y1)
    {
        static_assert(LfoHasPair(Wave));
        if constexpr (Wave == 0)
            PolySine::SinOfPhases(phi0, phi1, y0, y1);
        else if constexpr (Wave == 5)
        {
            PolySine::SinOfPhases(phi0 / 2.0, phi1 / 2.0, y0, y1);
            y0 = 2.0 * y0 - 1.0;
            y1 = 2.0 * y1 - 1.0;
        }
        else
        {
            PolySine::SinOfPhases(phi0 / 2.0 + kPi, phi1 / 2.0 + kPi, y0, y1);
            y0 = 2.0 * y0 + 1.0;
            y1 = 2.0 * y1 + 1.0;
        }
    }
    // Run-time dispatch of Lfo (0 and unknown waves: the sine).
    static double LfoValue(int wave, double phi, double& squareState, float smoothIn, float smoothKeep)
    {
        const double in = smoothIn;
        const double keep = smoothKeep;
        switch (wave)
        {
        case 1:
            return Lfo<1>(phi, squareState, in, keep);
        case 2:
            return Lfo<2>(phi, squareState, in, keep);
        case 3:
            return Lfo<3>(phi, squareState, in, keep);
        case 4:
            return Lfo<4>(phi, squareState, in, keep);
        case 5:
            return Lfo<5>(phi, squareState, in, keep);
        case 6:
            return Lfo<6>(phi, squareState, in, keep);
        default:
            return Lfo<0>(phi, squareState, in, keep);
        }
    }
};
