// The wave shapes of the two tones and of the LFOs, and the phase wrap they share. Header-inline
// because the per-sample loop calls them for every frame.
#pragma once

#include "engine/PolySine.h"

#include <bit>
#include <cmath>
#include <emmintrin.h>

namespace tpm
{
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
    using Pair = PolySine::Pair;
    using PairBits = PolySine::PairBits;

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
    // Tone<Wave> at two phases (a frame's two oscillators), each lane equal to Tone<Wave> bit for
    // bit; the sine waves share one pass.
    template <int Wave> static Pair TonePair(Pair phi, double split, const Golden& c)
    {
        if constexpr (Wave == 0)
            return PolySine::SinOfPhases(phi);
        else if constexpr (Wave == 4)
            return PolySine::CosOfPhases(GoldenArguments(phi, split, c));
        else if constexpr (Wave == 5)
            return 2.0 * PolySine::SinOfPhases(GoldenArguments(phi, split, c)) - 1.0;
        else
            return Pair{Tone<Wave>(phi[0], split, c), Tone<Wave>(phi[1], split, c)};
    }
    // φ × A1 before the split, φ × A2 + C2 after it: selects rather than branches, so that one
    // sine serves both halves and a high tone costs no mispredicted jumps. Adding 0.0 to φ × A1
    // (never −0 here) leaves it unchanged.
    static double GoldenArgument(double phi, double split, const Golden& c)
    {
        const bool first = phi < split;
        return phi * (first ? c.a1 : c.a2) + (first ? 0.0 : c.c2);
    }
    static Pair GoldenArguments(Pair phi, double split, const Golden& c)
    {
        const PairBits first = phi < split;
        const Pair factor = Select(first, Pair{c.a1, c.a1}, Pair{c.a2, c.a2});
        const Pair addend = Select(first, Pair{}, Pair{c.c2, c.c2});
        return phi * factor + addend;
    }
    // WrapPhase on both lanes, without a jump unless a lane needs the full reduction.
    static Pair WrapPhases(Pair phase)
    {
        const __m128d twoPi = _mm_set1_pd(kTwoPi);
        __m128d p = std::bit_cast<__m128d>(phase);
        p = _mm_sub_pd(p, _mm_and_pd(_mm_cmpge_pd(p, twoPi), twoPi));
        const int inside =
            _mm_movemask_pd(_mm_and_pd(_mm_cmpge_pd(p, _mm_setzero_pd()), _mm_cmplt_pd(p, twoPi)));
        phase = std::bit_cast<Pair>(p);
        if (inside == 3) [[likely]]
            return phase;
        for (int k = 0; k < 2; ++k)
            if ((inside & (1 << k)) == 0)
                phase[k] = ReducePhase(phase[k]);
        return phase;
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
    template <int Wave> static Pair LfoPair(Pair phi)
    {
        static_assert(LfoHasPair(Wave));
        if constexpr (Wave == 0)
            return PolySine::SinOfPhases(phi);
        else if constexpr (Wave == 5)
            return 2.0 * PolySine::SinOfPhases(phi / 2.0) - 1.0;
        else
            return 2.0 * PolySine::SinOfPhases(phi / 2.0 + kPi) + 1.0;
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

  private:
    // Per lane: `a` where the mask is set, else `b`.
    static Pair Select(PairBits mask, Pair a, Pair b)
    {
        return std::bit_cast<Pair>((mask & std::bit_cast<PairBits>(a)) |
                                   (~mask & std::bit_cast<PairBits>(b)));
    }
};
} // namespace tpm
